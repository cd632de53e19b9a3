#include "mem/trig.h"

bool trig::llvm_runs_here()
{
#if !defined(MEMSPEC_LLVMLIBC)
    return false;
#elif defined(__x86_64__)
    // Debian's x86-64 archive uses AVX and FMA instructions without asking the
    // CPU; ask for the whole of x86-64-v3 that it was built for. The answer is
    // libgcc's, read from CPUID once before main: nothing here to initialise.
    return __builtin_cpu_supports("avx") && __builtin_cpu_supports("avx2") &&
           __builtin_cpu_supports("fma");
#else
    return true;
#endif
}

double trig::sin(double a)
{
#ifdef MEMSPEC_LLVMLIBC
    if (llvm_runs_here())
        return llvmlibc_sin(a);
#endif
    double s = 0.0;
    double c = 0.0;
    sincos_mpfr(a, &s, &c);
    return s;
}

void trig::sincos(double a, double* s, double* c)
{
#ifdef MEMSPEC_LLVMLIBC
    if (llvm_runs_here()) {
        llvmlibc_sincos(a, s, c);
        return;
    }
#endif
    sincos_mpfr(a, s, c);
}
