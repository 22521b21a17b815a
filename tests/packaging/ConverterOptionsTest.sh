#!/usr/bin/env bash
# quillix-convert's bash completion and manual page keep up with its --help: every long option
# shown there is completed and documented, nothing else is completed, each fixed list of values
# (MODEs, tones) holds exactly the values the converter accepts among the words of that
# option's help, and the completion really completes them.
# Usage: ConverterOptionsTest.sh QUILLIX_CONVERT COMPLETION MANPAGE
set -uo pipefail
convert=$1 completion=$2 manpage=$3
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

help=$("$convert" --help) || { echo "FAIL: $convert --help"; exit 1; }
# The manual page as text, roff's escaped hyphens made plain.
manual=$(sed -e 's/\\-/-/g' -e 's/\\f[BIRP]//g' "$manpage")

# shellcheck source=/dev/null
source /usr/share/bash-completion/bash_completion || { echo "FAIL: bash-completion missing"; exit 1; }
# shellcheck source=/dev/null
source "$completion"

names() { grep -oE -- '--[a-z][a-z0-9-]*' | sort -u; }
shown=$(printf '%s\n' "$help" | names)
completed=$(printf '%s\n' $_quillix_convert_options | names)
[ -n "$shown" ] || fail "no long option found in --help"
for option in $shown; do
    grep -qxF -- "$option" <<<"$completed" || fail "$option is not completed"
    grep -qE -- "(^|[^a-z-])$option([^a-z-]|\$)" <<<"$manual" || fail "$option is not in $manpage"
done
for option in $completed; do
    grep -qxF -- "$option" <<<"$shown" || fail "$option is completed but not in --help"
done

# The lines of the option's entry in --help: its own line and the indented lines that follow.
help_entry() {
    printf '%s\n' "$help" | awk -v option="$1" '
        $0 ~ "^ *-" { inside = index($0, option " ") || index($0, option "=") || $0 ~ option "$" }
        inside'
}
# Accepted: the value passes the command line. The only failure is then the missing picture, or
# a usage error that is not about the value (e.g. --tracks without --disc): its message, the
# first line, does not name the value.
accepted() {
    local complaint status
    complaint=$(QUILLIX_DRIVE_C=$work "$convert" -q "$1" "$2" "$work/missing.bmp" 2>&1 >/dev/null)
    status=$?
    [ $status -eq 1 ] && return 0
    [ $status -eq 2 ] && ! head -n 1 <<<"$complaint" | grep -qwF -- "$2"
}
work=$(mktemp -d) && trap 'rm -rf "$work"' EXIT
for option in $completed; do
    values=$(_quillix_convert_values "$option")
    [ -n "$values" ] || continue
    for value in $values; do
        accepted "$option" "$value" || fail "$option $value is completed but refused"
        grep -qE -- "(^|[^a-z-])$value([^a-z-]|\$)" <<<"$manual" ||
            fail "$option $value is not in $manpage"
    done
    for word in $(help_entry "$option" | grep -oE '[a-z0-9][a-z0-9-]*' | sort -u); do
        if ! grep -qw -- "$word" <<<"$values" && accepted "$option" "$word"; then
            fail "$option $word is accepted but not completed"
        fi
    done
done

# Completing as bash does.
complete_line() {
    COMP_LINE=$1
    COMP_POINT=${#COMP_LINE}
    # bash breaks words at '=' too.
    read -ra COMP_WORDS <<<"${COMP_LINE//=/ = }"
    [[ $COMP_LINE == *' ' ]] && COMP_WORDS+=('')
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _quillix_convert
    printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' '
}
expect_completion() {
    local got
    got=$(complete_line "$1")
    [ "$got" = "$2" ] || fail "completing '$1' gave '$got', not '$2'"
}
expect_completion 'quillix-convert --to' '--tone '
expect_completion 'quillix-convert -m ' '0 1 2 4 5 7 '
expect_completion 'quillix-convert -t sp' 'spiral '
expect_completion 'quillix-convert --tone=d' 'diagonal '
expect_completion 'quillix-convert --tracks ' '40 80 '

[ $failures -eq 0 ] && echo "OK: $(wc -w <<<"$shown") long options completed and documented"
[ $failures -eq 0 ]
