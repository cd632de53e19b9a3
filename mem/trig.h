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

#ifdef MEMSPEC_CORRECTLY_ROUNDED

namespace trig {

// sin: the sine of a (radians).
double sin(double a);

// sincos: *s = sin(a) and *c = cos(a), a in radians. Both are rounded to
// nearest from the exact values, for every double a: sin(-0.0) is -0.0, and
// a NaN or an infinity gives NaN. If the MPFR route cannot have memory, the
// process ends as burg's does when its storage is refused.
void sincos(double a, double* s, double* c);

// The two routes to the same results, for the tests that prove them one
// function. sincos_mpfr: one mpfr_sin_cos at 53 bits in double's exponent
// range; MPFR's exponent range and GMP's allocator are the caller's again on
// return. llvm_runs_here: whether this CPU runs the code of the LLVM archive
// the build took (on x86-64 it needs AVX, AVX2 and FMA); false where the
// build took none.
void sincos_mpfr(double a, double* s, double* c);
bool llvm_runs_here();

} // namespace trig

#ifdef MEMSPEC_LLVMLIBC
// LLVM's correctly rounded sin, cos and sincos, taken from its archive under
// these names so that no link order can give back the math library's.
extern "C" double llvmlibc_sin(double);
extern "C" double llvmlibc_cos(double);
extern "C" void llvmlibc_sincos(double, double*, double*);
#endif

#else

#include <cmath>

namespace trig {

using std::sin;

// the compiler pairs the two calls into one where the library has sincos
inline void sincos(double a, double* s, double* c)
{
    *s = std::sin(a);
    *c = std::cos(a);
}

} // namespace trig

#endif

#endif
