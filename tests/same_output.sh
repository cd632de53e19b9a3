#!/usr/bin/env bash
# Builds memspec in a tree of its own with the given CMake arguments and
# checks that it prints, byte for byte, what the reference binary prints.
# usage: same_output.sh REFERENCE SOURCE_DIR BUILD_DIR [CMAKE_ARG...]
set -euo pipefail
ref=$1 src=$2 dir=$3
shift 3
cmake -S "$src" -B "$dir" -DMEMSPEC_TESTS=OFF "$@" >/dev/null
cmake --build "$dir" --target memspec >/dev/null
"$ref" >"$dir/reference.out"
"$dir/memspec" >"$dir/memspec.out"
cmp "$dir/reference.out" "$dir/memspec.out"
echo "same bytes: $*"
