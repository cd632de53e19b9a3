#!/usr/bin/env bash
# LLVMLibc_ARCHIVE, tried as a careless or hostile user would. Configure
# refuses at once what cannot be one archive for the target, and takes none
# for a CMake false value; the build refuses an archive whose three functions
# would bring anything else; a relative path means the same at every run; the
# functions taken out are remade when deleted; and two archives of one
# version are taken out apart.
# usage: refuse_archive.sh SOURCE_DIR WORK_DIR CXX LLVM_ARCHIVE|- CMAKE...
set -uo pipefail
src=$1 work=$2/refuse_archive cxx=$3 real=$4
cmake=("${@:5}")
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1

# archives that must be refused: one that brings memcpy besides the three,
# one whose object runs a constructor, one for another machine (its ELF
# machine made aarch64's), a text, a directory, a FIFO
cat >extra.cpp <<'CPP'
#include <cstring>
extern "C" double sin(double x) { return x; }
extern "C" double cos(double x) { return x; }
extern "C" void sincos(double x, double* s, double* c) { std::memcpy(s, &x, sizeof x); *c = x; }
extern "C" void* memcpy(void* d, const void*, std::size_t) noexcept { return d; }
CPP
cat >ctor.cpp <<'CPP'
extern "C" double sin(double x) { return x; }
extern "C" double cos(double x) { return x; }
extern "C" void sincos(double x, double* s, double* c) { *s = x; *c = x; }
__attribute__((constructor)) static void run_before_main() { volatile int k = 0; (void)k; }
CPP
for a in extra ctor; do
    "$cxx" -c -O1 -fno-builtin $a.cpp -o $a.o && ar qc $a.a $a.o || exit 1
done
cp ctor.o foreign.o && printf '\267\000' | dd of=foreign.o bs=1 seek=18 conv=notrunc status=none &&
    ar qc foreign.a foreign.o || exit 1
echo "not an archive" >text.a
mkdir dir.a && mkfifo fifo.a

# configure BUILD_DIR ARCHIVE: output and status of configuring the correctly
# rounded build with that archive
configure() {
    timeout 20 "${cmake[@]}" -S "$src" -B "$1" -DCMAKE_CXX_COMPILER="$cxx" -DMEMSPEC_CORRECTLY_ROUNDED=ON \
        -DLLVMLibc_ARCHIVE="$2" 2>&1
}
build() { timeout 120 "${cmake[@]}" --build "$1" --target trig_cr 2>&1; }
# CMake wraps its messages at 80 columns, where depends on the path's length
flat() { tr -s ' \n' ' '; }

failed=0 refused=0
fail() { echo "FAILED: $*"; failed=$((failed + 1)); }

# (archive | what configure says); each refused within a second or two
rows=("missing.a|does not exist" "text.a|is not an archive of ELF objects" "dir.a|is a directory"
    "fifo.a|is empty, or not a regular file" "foreign.a|is for ELF machine 183"
    "a.a;b.a|holds a ';'")
for row in "${rows[@]}"; do
    archive=${row%%|*} want=${row#*|}
    start=$SECONDS
    out=$(configure build "$work/$archive")
    status=$?
    if [[ $status -ne 0 && $(flat <<<"$out") == *"$want"* ]] && ((SECONDS - start <= 10)); then
        echo "$archive: refused at configure, $want"
        refused=$((refused + 1))
    else
        fail "$archive: configure did not refuse it for '$want'"; tail -5 <<<"$out"
    fi
done
for row in "extra.a|would bring memcpy" "ctor.a|would bring code that runs before main"; do
    archive=${row%%|*} want=${row#*|}
    configure "build-$archive" "$work/$archive" >/dev/null
    out=$(build "build-$archive")
    status=$?
    if [[ $status -ne 0 && $(flat <<<"$out") == *"$want"* ]]; then
        echo "$archive: refused at build, $want"
        refused=$((refused + 1))
    else
        fail "$archive: the build did not refuse it for '$want'"; tail -5 <<<"$out"
    fi
done
echo "refused: $refused of $((${#rows[@]} + 2))"

for none in off NO 0 FALSE N IGNORE NOTFOUND; do
    out=$(configure build "$none")
    [[ $? -eq 0 && $(flat <<<"$out") == *"from GNU MPFR: LLVMLibc_ARCHIVE is $none"* ]] &&
        echo "$none: no archive" || fail "$none: configure took an archive or failed"
done

if [[ $real == - ]]; then
    echo "no LLVM C library here: the rows that take one are left out"
    exit $((failed > 0))
fi
# one archive of a version in two places, a and b, each taken out apart; b
# named relatively, from the source directory, as at every later run
for d in a b; do mkdir -p "$d/llvm-22/lib" && cp "$real" "$d/llvm-22/lib/libllvmlibc.a"; done
configure good "$work/a/llvm-22/lib/libllvmlibc.a" >/dev/null && build good >/dev/null ||
    fail "archive a was not taken"
rel=$(realpath --relative-to="$src" "$work/b/llvm-22/lib/libllvmlibc.a")
(cd "$src" && configure "$work/good" "$rel" >/dev/null) && build good >/dev/null || fail "archive b was not taken"
cached=$(grep '^LLVMLibc_ARCHIVE:' good/CMakeCache.txt)
[[ $cached == *"=$work/b/llvm-22/lib/libllvmlibc.a" ]] || fail "the cache holds $cached"
extracted=(good/trig/llvmlibc/22-*/libllvmlibc_trig.a)
((${#extracted[@]} == 2)) && echo "two archives of version 22, two extractions" ||
    fail "two archives of version 22 gave ${#extracted[@]} extractions"
# touched, the archive is taken out again and is still b; deleted, it is remade
touch "b/llvm-22/lib/libllvmlibc.a"
out=$(build good)
[[ $out == *"Taking sin, cos and sincos from $work/b/llvm-22/lib/libllvmlibc.a"* ]] &&
    echo "b touched: taken out again, from b" || fail "touching b did not take it out again"
rm -f good/trig/llvmlibc/22-*/libllvmlibc_trig.a
build good >/dev/null && [[ -n $(ls good/trig/llvmlibc/22-*/libllvmlibc_trig.a 2>/dev/null) ]] &&
    echo "deleted: remade" || fail "the deleted extraction was not remade"
exit $((failed > 0))
