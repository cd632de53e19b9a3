#!/usr/bin/env bash
# Instructions for the whole run of each program, dynamic loader included,
# under callgrind (which counts them the same on every run): the default
# program within BUDGET, the correctly rounded one within RATIO times what
# the default one took. A count that cannot be read fails. Skipped (77)
# without valgrind.
# usage: budget.sh WORK_DIR BUDGET RATIO DEFAULT_PROGRAM [CR_PROGRAM]
set -euo pipefail
work=$1 budget=$2 ratio=$3 default=$4 cr=${5:-}
command -v valgrind >/dev/null || { echo "valgrind is missing; skipped"; exit 77; }
[[ -z $cr || -x $cr ]] || { echo "$cr is not there; skipped"; exit 77; }
count() {
    valgrind --tool=callgrind --callgrind-out-file="$work/callgrind.out" "$1" >/dev/null \
        2>"$work/callgrind.log"
    local n
    n=$(sed -n 's/.*Collected : \([0-9][0-9]*\)$/\1/p' "$work/callgrind.log")
    [[ -n $n ]] || { echo "no instruction count for $1:" >&2; cat "$work/callgrind.log" >&2; exit 1; }
    echo "$n"
}
d=$(count "$default")
echo "default run: $d instructions (budget $budget)"
within() { awk -v got="$1" -v bound="$2" 'BEGIN { exit !(got <= bound && bound <= 1.25 * got) }'; }
within "$d" "$budget" || { echo "not within the budget, or the budget is slack"; exit 1; }
if [[ -n $cr ]]; then
    c=$(count "$cr")
    echo "correctly rounded run: $c instructions, $(awk -v c="$c" -v d="$d" 'BEGIN { printf "%.3f", c / d }') times the default (budget $ratio)"
    within "$(awk -v c="$c" -v d="$d" 'BEGIN { print c / d }')" "$ratio" ||
        { echo "not within the budget, or the budget is slack"; exit 1; }
fi
