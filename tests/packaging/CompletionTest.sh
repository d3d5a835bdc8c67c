#!/usr/bin/env bash
# Tests the bash completion of kestrune-cli as bash calls it: COMP_WORDS and COMP_CWORD set for
# the line being completed, the completion function run, COMPREPLY compared.
#
#   CompletionTest.sh COMPLETION_FILE
set -uo pipefail
source "$1"
cd "$(mktemp -d)" || exit 1
trap 'rm -rf "$PWD"' EXIT
mkdir csvdir
touch book.xlsx base.db

failures=0
# expect "LINE" "EXPECTED REPLIES": the last word of LINE is the one completed ("" for a new word).
expect()
{
    read -ra COMP_WORDS <<<"$1"
    [[ "$1" == *" " ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    _kestrune_cli
    local got
    got="$(printf '%s\n' "${COMPREPLY[@]}" | sort | xargs)"
    if [[ "$got" != "$2" ]]; then
        echo "FAILED: '$1' completes to '$got', expected '$2'"
        failures=$((failures + 1))
    fi
}

expect "kestrune-cli " "--csv --db --help --plain-db --version --workbook -v annotate describe save search words"
expect "kestrune-cli s" "save search"
expect "kestrune-cli --" "--csv --db --help --plain-db --version --workbook"
expect "kestrune-cli --csv " "csvdir"
expect "kestrune-cli --workbook b" "base.db book.xlsx"
expect "kestrune-cli --db ba" "base.db"
expect "kestrune-cli --csv csvdir " "--csv --db --plain-db --workbook -v annotate describe save search words"
expect "kestrune-cli search -" "--code --hex --json --media --raw --text -A -B -C -D -E -F"
expect "kestrune-cli -v search --r" "--raw"
expect "kestrune-cli --workbook book.xlsx search -A 1 --" "--code --hex --json --media --raw --text"
expect "kestrune-cli search -A " ""
expect "kestrune-cli search --text " ""
expect "kestrune-cli save " "base.db book.xlsx csvdir"
expect "kestrune-cli save base.db -" "--plain"
expect "kestrune-cli describe 1.0.1.8.0.255 " ""
expect "kestrune-cli describe -" "--json --media"
expect "kestrune-cli annotate --media " ""
expect "kestrune-cli annotate b" "base.db book.xlsx"
expect "kestrune-cli words -" "--json"

[[ "$(complete -p kestrune-cli)" == "complete -F _kestrune_cli kestrune-cli" ]] ||
    { echo "FAILED: kestrune-cli is not bound to _kestrune_cli"; failures=$((failures + 1)); }
exit $((failures > 0))
