#!/usr/bin/env bash
# Installs every Debian package Kestrune needs to build, test, benchmark, fuzz and package.
# Idempotent: when everything is present it installs nothing and prints nothing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  qt6-base-dev libqscintilla2-qt6-dev libxkbcommon-dev
  libzip-dev libpugixml-dev libxlsxwriter-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-dev
  xvfb openbox wmctrl xdotool fp-utils fonts-dejavu-core
  x11-apps netpbm
  python3 python3-xlwt
  librsvg2-bin dpkg-dev lintian desktop-file-utils appstream bash-completion man-db
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
