#!/usr/bin/env bash
# Instructions for the whole run of each program, dynamic loader included,
# under callgrind (which counts them the same on every run): the default
# program within BUDGET; the correctly rounded one within RATIO times what
# the default one took. Each must end with status 0 and print its recorded
# bytes while it is counted: the default one EXPECTED but for the six peak
# heights, the correctly rounded one EXPECTED_CR exactly. A budget below its
# count fails, and so does one more than a quarter above it (slack), and a
# count that cannot be read. Skipped (77) without valgrind, or where
# CR_PROGRAM is not there.
# usage: budget.sh WORK_DIR BUDGET DEFAULT_PROGRAM EXPECTED EXPECTED_CR [RATIO CR_PROGRAM]
set -euo pipefail
work=$1 budget=$2 default=$3 expected=$4 expected_cr=$5 ratio=${6:-} cr=${7:-}
here=$(dirname "$0")
command -v valgrind >/dev/null || { echo "valgrind is missing; skipped"; exit 77; }
[[ -z $cr || -x $cr ]] || { echo "$cr is not there; skipped"; exit 77; }
mkdir -p "$work"
# count PROGRAM: its instructions; what it printed is left in $work/out
count() {
    local st=0
    valgrind --tool=callgrind --callgrind-out-file="$work/callgrind.out" "$1" >"$work/out" \
        2>"$work/callgrind.log" || st=$?
    ((st == 0)) || { echo "$1 ended with status $st under callgrind" >&2; exit 1; }
    local n
    n=$(sed -n 's/.*Collected : \([0-9][0-9]*\)$/\1/p' "$work/callgrind.log")
    [[ -n $n ]] || { echo "no instruction count for $1:" >&2; cat "$work/callgrind.log" >&2; exit 1; }
    echo "$n"
}
within() { awk -v got="$1" -v bound="$2" 'BEGIN { exit !(got <= bound && bound <= 1.25 * got) }'; }
d=$(count "$default")
"$here/check_output.sh" masked "$expected" cat "$work/out" >/dev/null ||
    { echo "$default did not print the recorded bytes"; exit 1; }
echo "default run: $d instructions (budget $budget)"
within "$d" "$budget" || { echo "not within the budget, or the budget is slack"; exit 1; }
[[ -n $cr ]] || exit 0
c=$(count "$cr")
cmp "$expected_cr" "$work/out" || { echo "$cr did not print the correctly rounded bytes"; exit 1; }
r=$(awk -v c="$c" -v d="$d" 'BEGIN { printf "%.3f", c / d }')
echo "correctly rounded run: $c instructions, $r times the default (budget $ratio)"
within "$r" "$ratio" || { echo "not within the budget, or the budget is slack"; exit 1; }
