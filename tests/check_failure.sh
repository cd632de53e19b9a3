#!/usr/bin/env bash
# Runs a build of memspec (through an emulator where one is given) where it
# must fail: nomem, its heap refused (the command must see to that), or full,
# its standard output a full device of the test's own. It must end with
# status 1, its one message alone on stderr, and, refused its heap, nothing
# on stdout. Skipped (77) where the device cannot be made; fails where the
# check cannot be set up.
# With crlf the program writes a Windows text stream: the message ends in
# CR LF.
# usage: check_failure.sh nomem|full [crlf] COMMAND...
set -uo pipefail
case=$1 end='\n'
shift
if [[ $1 == crlf ]]; then end='\r\n'; shift; fi
# every file of the check goes in a directory of its own, or the check fails
tmp=$(mktemp -d) && [[ -d $tmp ]] || { echo "FAILED: no temporary directory"; exit 1; }
trap 'rm -rf -- "$tmp"' EXIT
# the two messages, in Shift_JIS: memory allocation failed; writing failed
nomem=$'\x83\x81\x83\x82\x83\x8A\x8A\x84\x82\xE8\x93\x96\x82\xC4\x82\xC9\x8E\xB8\x94\x73\x82\xB5\x82\xDC\x82\xB5\x82\xBD\x81\x42'
full=$'\x8F\x6F\x97\xCD\x82\xCC\x8F\x91\x82\xAB\x8D\x9E\x82\xDD\x82\xC9\x8E\xB8\x94\x73\x82\xB5\x82\xDC\x82\xB5\x82\xBD\x81\x42'
out=$tmp/out
if [[ $case == full ]]; then
    out=$tmp/full
    mknod -m 666 "$out" c 1 7 2>/dev/null || { echo "cannot make a full device; skipped"; exit 77; }
fi
"$@" >"$out" 2>"$tmp/err"
status=$?
printf "%s$end" "${!case}" >"$tmp/want" || { echo "FAILED: cannot write $tmp/want"; exit 1; }
if [[ $status != 1 ]] || ! cmp -s "$tmp/want" "$tmp/err" || [[ $case == nomem && -s $out ]]; then
    echo "FAILED: status $status, stderr: $(od -An -c "$tmp/err" | head -3)"
    exit 1
fi
echo "$case: status 1 and the message"
