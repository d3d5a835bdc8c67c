#!/usr/bin/env bash
# Sets up the machine, builds Kestrune and runs kestrune-cli. Without arguments it answers
# a few questions on the built-in database and on the example CSV definition files;
# with arguments it runs kestrune-cli with them (scripts/run.sh describe 1.0.32.7.0.255).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
cli="${KESTRUNE_BUILD_DIR:-build}/cli/kestrune-cli"
if [ $# -gt 0 ]; then
  exec "$cli" "$@"
fi

show() {
  echo "\$ kestrune-cli $*"
  "$cli" "$@"
  echo
}
show describe 1-0:1.8.1
show describe 1.0.1.8.0.255 1-0:32.7.0*255 F.F 0100010800FF 7.0.3.0.0.255
echo "\$ kestrune-cli annotate < examples/readouts/p1-telegram.txt"
"$cli" annotate < examples/readouts/p1-telegram.txt
echo
show search -A 1 -C 1 -D 8 -E 0 -F 255
show search --text '"L1 Voltage" instantaneous' -A 1
show --csv examples/csv describe 1.0.2.8.3.255
show --csv examples/csv search --text power
