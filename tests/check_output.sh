#!/usr/bin/env bash
# Runs a build of memspec (through an emulator where one is given) and checks
# its standard output against recorded bytes: all of them (exact), or all but
# the six peak heights, which belong to the math library (masked). With crlf
# the program writes a Windows text stream: every line must end in CR LF, and
# the bytes are compared with those made LF.
# usage: check_output.sh exact|masked [crlf] EXPECTED COMMAND...
set -euo pipefail
here=$(dirname "$0")
mode=$1 crlf=false
shift
if [[ $1 == crlf ]]; then crlf=true; shift; fi
expected=$1
shift
tmp=$(mktemp -d)
trap 'rm -rf -- "$tmp"' EXIT
"$@" >"$tmp/out"
if $crlf; then
    lines=$(wc -l <"$tmp/out")
    [[ $(grep -c $'\r$' "$tmp/out") == "$lines" ]] || { echo "a line does not end in CR LF"; exit 1; }
    tr -d '\r' <"$tmp/out" >"$tmp/lf"
    mv "$tmp/lf" "$tmp/out"
fi
if [[ $mode == masked ]]; then
    mask=(awk -f "$here/../tools/table.awk" -f "$here/mask_tones.awk")
    "${mask[@]}" "$tmp/out" >"$tmp/got"
    "${mask[@]}" "$expected" >"$tmp/want"
else
    mv "$tmp/out" "$tmp/got"
    cp "$expected" "$tmp/want"
fi
cmp "$tmp/want" "$tmp/got"
echo "$mode: the recorded bytes from $*"
