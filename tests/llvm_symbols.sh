#!/usr/bin/env bash
# The correctly rounded program takes sin, cos and sincos from LLVM's archive
# and nothing else: the archive the build made from it offers no global
# symbol but the three renamed functions, so it cannot satisfy any other
# reference; the program holds those three; and stdio, the heap, the string
# functions and the math library's sin and cos are not defined in it, so they
# are the C library's.
# usage: llvm_symbols.sh NM PROGRAM ARCHIVE
set -euo pipefail
nm=$1 bin=$2 archive=$3
three="llvmlibc_cos llvmlibc_sin llvmlibc_sincos"
offered=$("$nm" -g --defined-only "$archive" | awk 'NF == 3 { print $3 }' | sort | xargs)
[[ $offered == "$three" ]] || { echo "$archive offers: $offered"; exit 1; }
held=$("$nm" "$bin" | awk '$3 ~ /^llvmlibc_/ { print $3 }' | sort | xargs)
[[ $held == "$three" ]] || { echo "the program holds: $held"; exit 1; }
own=$("$nm" "$bin" | awk '$2 ~ /^[TtWwi]$/ && $3 ~ /^(printf|fwrite|fputs|fflush|memcpy|memmove|memset|strlen|malloc|calloc|realloc|free|sin|cos|sincos)$/ { print $3 }' | xargs)
[[ -z $own ]] || { echo "defined in the program, not the C library's: $own"; exit 1; }
echo "from $archive: $offered"
