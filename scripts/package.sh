#!/usr/bin/env bash
# Sets up the machine, builds Kestrune and makes its Debian package
# build/kestrune_<version>_<arch>.deb (in $KESTRUNE_BUILD_DIR when set); install it with
# apt install ./build/kestrune_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
build_dir="${KESTRUNE_BUILD_DIR:-build}"
rm -f "$build_dir"/kestrune_*.deb
log="$build_dir/package.log"
if ! (cd "$build_dir" && cpack -G DEB) >"$log" 2>&1; then
  cat "$log"
  echo "Packaging failed (log: $log)" >&2
  exit 1
fi
ls "$build_dir"/kestrune_*.deb
