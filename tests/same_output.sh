#!/usr/bin/env bash
# Checks that a build of memspec prints, byte for byte, what the reference
# build prints; HOW says how the build was made.
# usage: same_output.sh REFERENCE PROGRAM HOW
set -euo pipefail
ref=$1 program=$2 how=$3
tmp=$(mktemp -d)
trap 'rm -rf -- "$tmp"' EXIT
"$ref" >"$tmp/reference.out"
"$program" >"$tmp/memspec.out"
cmp "$tmp/reference.out" "$tmp/memspec.out"
echo "same bytes: $how"
