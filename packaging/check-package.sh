#!/usr/bin/env bash
# Checks a Debian package of Kestrune: it holds every file an installation needs, its menu
# entry and metainfo validate, lintian finds no error, and the kestrune-cli it installs,
# extracted into a temporary root, describes a code on its built-in database and completes
# its commands from the completion file it brings.
#
#   packaging/check-package.sh build/kestrune_<version>_<arch>.deb
set -euo pipefail
deb="$1"
cd "$(dirname "$0")/.."
failed=0
fail() { echo "FAILED: $*" >&2; failed=1; }

required=(
  usr/bin/Kestrune usr/bin/kestrune-cli
  usr/share/kestrune/Kestrune.chm
  usr/share/doc/kestrune/README.md usr/share/doc/kestrune/copyright usr/share/doc/kestrune/changelog.gz
  usr/share/applications/org.kestrune.Kestrune.desktop
  usr/share/metainfo/org.kestrune.Kestrune.metainfo.xml
  usr/share/icons/hicolor/scalable/apps/kestrune.svg
  usr/share/man/man1/Kestrune.1.gz usr/share/man/man1/kestrune-cli.1.gz
  usr/share/bash-completion/completions/kestrune-cli
)
for size in 16 22 24 32 48 64 128 256; do
  required+=("usr/share/icons/hicolor/${size}x${size}/apps/kestrune.png")
done
for page in app/help/*.html app/help/help.css; do
  required+=("usr/share/kestrune/help/$(basename "$page")")
done
contents="$(dpkg-deb -c "$deb" | awk '{print $6}')"
for file in "${required[@]}"; do
  grep -qxF "./$file" <<<"$contents" || fail "the package lacks /$file"
done

root="$(mktemp -d)"
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"

desktop-file-validate "$root/usr/share/applications/org.kestrune.Kestrune.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$root/usr/share/metainfo/org.kestrune.Kestrune.metainfo.xml" >/dev/null ||
  fail "appstreamcli validate: $(appstreamcli validate --no-net "$root/usr/share/metainfo/org.kestrune.Kestrune.metainfo.xml")"
for page in "$root"/usr/share/man/man1/*.1.gz; do
  warnings="$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)"
  [ -z "$warnings" ] || fail "man $(basename "$page"): $warnings"
done
# Warnings and notes are shown; only errors fail.
lintian --fail-on error "$deb" || fail "lintian reports an error"

described="$("$root/usr/bin/kestrune-cli" describe 1.0.1.8.0.255)" || fail "the installed kestrune-cli failed"
[[ "$described" == *"Active power+"* ]] || fail "the installed kestrune-cli describes 1.0.1.8.0.255 as: $described"

# bash-completion loads the completion file the first time kestrune-cli is completed.
completed="$(XDG_DATA_DIRS="$root/usr/share" bash -c '
  source /usr/share/bash-completion/bash_completion
  __load_completion kestrune-cli
  COMP_WORDS=(kestrune-cli se); COMP_CWORD=1
  _kestrune_cli; echo "${COMPREPLY[*]}"')" || true
[[ "$completed" == "search" ]] || fail "completing \"kestrune-cli se\" from the package gives: \"$completed\""

[ $failed -eq 0 ] && echo "Package checked: $deb"
exit $failed
