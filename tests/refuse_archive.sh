#!/usr/bin/env bash
# Configure refuses an LLVM archive it cannot use, rather than link something
# else silently: one that is missing, one for no architecture it can link,
# and one that would bring a symbol besides sin, cos and sincos.
# usage: refuse_archive.sh SOURCE_DIR WORK_DIR CXX CMAKE...
set -uo pipefail
src=$1 work=$2/refuse_archive cxx=$3
cmake=("${@:4}")
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
cat >extra.cpp <<'CPP'
#include <cstring>
extern "C" double sin(double x) { return x; }
extern "C" double cos(double x) { return x; }
extern "C" void sincos(double x, double* s, double* c) { std::memcpy(s, &x, sizeof x); *c = x; }
extern "C" void* memcpy(void* d, const void*, std::size_t) noexcept { return d; }
CPP
"$cxx" -c -O1 -fno-builtin extra.cpp -o extra.o && ar qc extra.a extra.o || exit 1
echo "not an archive" >text.a
failed=0
for row in "missing.a|does not exist" "text.a|does not fit" "extra.a|would bring memcpy"; do
    archive=${row%%|*} want=${row#*|}
    out=$("${cmake[@]}" -S "$src" -B "build-$archive" -DCMAKE_CXX_COMPILER="$cxx" -DMEMSPEC_CORRECTLY_ROUNDED=ON \
        -DLLVMLibc_ARCHIVE="$work/$archive" 2>&1)
    status=$?
    # CMake wraps its messages at 80 columns, where depends on the path's length
    flat=$(tr -s ' \n' ' ' <<<"$out")
    if [[ $status -ne 0 && $flat == *"$want"* ]]; then
        echo "$archive: refused, $want"
    else
        echo "FAILED: $archive: configure did not refuse it for '$want'"; echo "$out" | tail -5
        failed=$((failed + 1))
    fi
done
echo "$((3 - failed)) of 3 refused"
exit $((failed > 0))
