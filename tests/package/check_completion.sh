#!/usr/bin/env bash
# The CLI's bash completion against the built program: it reads the
# commands and options from the program's --help, so a change in that text
# that would leave the completion empty shows up here.
#   check_completion.sh COMPLETION_FILE PROGRAM
set -uo pipefail
source "${1:?completion file}"
program=${2:?program}
failures=0

complete_words() { # words of the command line; the last is being completed
    COMP_WORDS=("$program" "$@")
    COMP_CWORD=$#
    COMPREPLY=()
    _halvern_th_cli
    printf '%s\n' "${COMPREPLY[@]}"
}
expect() { # what, expected word, words...
    local what=$1 word=$2; shift 2
    local words
    words=$(complete_words "$@")
    grep -qx -- "$word" <<<"$words" || { echo "FAIL: $what: no '$word' for: $*" >&2; failures=$((failures + 1)); }
}

expect "commands" info ""
expect "commands" set-clock "se"
expect "command options" --unit info --u
expect "command options" --csv export --
expect "link options" --simulate download --
expect "link options" -o download -
expect "option values" C info --unit ""
expect "option values" serial:6 status --simulate serial:
expect "simulate kinds" serial simulate ""
expect "station options" --archive watch --ar
expect "station options" --archive-db watch --archive-db
expect "station takes no file" --once watch --archive /tmp ""
expect "station's --usb is a switch" --once watch --usb ""
expect "device index after --usb elsewhere" 15 download --usb ""
expect "report kinds" xlsx watch --report x
expect "report list" pdf,csv watch --report pdf,c
expect "commands" verify "ve"

[ $failures -eq 0 ] || exit 1
echo "completion: every check passed"
