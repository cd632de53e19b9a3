// Sine and cosine of the test series and of the spectrum.
//
// By default they are the math library's, whose last bits differ between
// libraries and, with glibc, between CPUs with and without FMA. Built with
// MEMSPEC_CORRECTLY_ROUNDED they are correctly rounded (binary64, round to
// nearest), so that every result of the run is fixed by IEEE 754 alone: from
// LLVM's C library where the build found an archive for the target and the
// CPU runs its code, and from GNU MPFR otherwise. Neither keeps anything from
// one call to the next.

#ifndef MEMSPEC_TRIG_H
#define MEMSPEC_TRIG_H

#include <cmath>

namespace trig {

// sincos_libm: *s = sin(a) and *c = cos(a) by the math library, a in
// radians; the compiler pairs the two calls into one where the library has
// sincos.
inline void sincos_libm(double a, double* s, double* c)
{
    *s = std::sin(a);
    *c = std::cos(a);
}

} // namespace trig

#ifdef MEMSPEC_CORRECTLY_ROUNDED

namespace trig {

// sin: the sine of a (radians).
double sin(double a);

// sincos: *s = sin(a) and *c = cos(a), a in radians. Both are rounded to
// nearest from the exact values, for every double a: sin(-0.0) is -0.0, and
// a NaN or an infinity gives NaN. LLVM's route where llvm_can_run, MPFR's
// otherwise; if MPFR's cannot have memory, the process ends as burg's does
// when its storage is refused.
void sincos(double a, double* s, double* c);

} // namespace trig

#else

namespace trig {

using std::sin;

inline void sincos(double a, double* s, double* c)
{
    sincos_libm(a, s, c);
}

} // namespace trig

#endif

// The two routes to the correctly rounded results, for the tests that prove
// them one function and the benchmark that prices them.
namespace trig {

// sincos_mpfr: one mpfr_sin_cos at 53 bits in double's exponent range.
// MPFR's exponent range and GMP's allocator are the caller's again on return.
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
