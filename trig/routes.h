// The two routes to correctly rounded sine and cosine: LLVM's C library,
// where the build took its functions and the CPU runs their code, and GNU
// MPFR, everywhere; trig_cr.cpp chooses between them at each call. Declared
// here for it, for the tests that prove the two routes one function, and for
// the benchmark that prices them. Neither keeps anything of the caller's from
// one call to the next.

#ifndef MEMSPEC_TRIG_ROUTES_H
#define MEMSPEC_TRIG_ROUTES_H

namespace trig {

// sincos_mpfr: one mpfr_sin_cos at 53 bits in double's exponent range. MPFR's
// exponent range is the caller's again on return.
void sincos_mpfr(double a, double* s, double* c);

} // namespace trig

#ifdef MEMSPEC_LLVMLIBC
// LLVM's correctly rounded sin, cos and sincos, taken from its archive under
// these names so that no link order can give back the math library's.
extern "C" double llvmlibc_sin(double);
extern "C" double llvmlibc_cos(double);
extern "C" void llvmlibc_sincos(double, double*, double*);

// llvm_can_run: whether this CPU runs the code of LLVM's archive. Debian's
// x86-64 archive uses AVX and FMA instructions without asking the CPU; ask
// for the whole of x86-64-v3 that it was built for. libgcc reads CPUID once
// before main; this keeps nothing of its own.
inline bool llvm_can_run()
{
#if defined(__x86_64__)
    return __builtin_cpu_supports("avx") && __builtin_cpu_supports("avx2") &&
           __builtin_cpu_supports("fma");
#else
    return true;
#endif
}
#endif

#endif
