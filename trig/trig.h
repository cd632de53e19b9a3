// Sine and cosine of the test series and of the spectrum, in radians.
//
// By default they are the math library's. Its last bits differ between
// libraries and, with glibc, between CPUs with and without FMA, and six peak
// heights of the table hang on them. Built with MEMSPEC_CORRECTLY_ROUNDED
// they are correctly rounded (binary64, round to nearest), so that every
// printed byte is fixed by IEEE 754 alone: GNU MPFR's, for every double by
// MPFR's own contract; or, with MEMSPEC_TRIG_QUAD where MPFR is not to be
// had, binary128 ones rounded once, each rounding proven (trig/quad.h).

#ifndef MEMSPEC_TRIG_H
#define MEMSPEC_TRIG_H

#include <cmath>

namespace trig {

// sincos_libm: *s = sin(a) and *c = cos(a) by the math library; the compiler
// pairs the two calls into one where the library has sincos.
inline void sincos_libm(double a, double* s, double* c)
{
    *s = std::sin(a);
    *c = std::cos(a);
}

// sincos_mpfr: *s = sin(a) and *c = cos(a), each correctly rounded, by one
// mpfr_sin_cos: sin(-0.0) is -0.0, and a NaN or an infinity gives NaN.
// MPFR's exponent range is the caller's again on return. If MPFR cannot
// have memory, the process ends as burg's does when its storage is refused.
// In the library trig_mpfr (trig_mpfr.cpp), wherever MPFR is found.
void sincos_mpfr(double a, double* s, double* c);

// sincos_quad: *s = sin(a) and *c = cos(a), each correctly rounded, from
// binary128 values whose rounding is proven: sin(-0.0) is -0.0, and a NaN or
// an infinity gives NaN. Where a rounding cannot be proven, which no angle of
// the run meets, the process ends with status 1 and its own message, as
// burg's does when its storage is refused. In the library trig_quad
// (trig_quad.cpp), where the toolchain has a binary128 sine and cosine.
void sincos_quad(double a, double* s, double* c);

#ifndef MEMSPEC_CORRECTLY_ROUNDED

using std::sin;

inline void sincos(double a, double* s, double* c)
{
    sincos_libm(a, s, c);
}

#else

inline void sincos(double a, double* s, double* c)
{
#ifdef MEMSPEC_TRIG_QUAD
    sincos_quad(a, s, c);
#else
    sincos_mpfr(a, s, c);
#endif
}

inline double sin(double a)
{
    double s = 0.0;
    double c = 0.0;
    sincos(a, &s, &c);
    return s;
}

#endif

} // namespace trig

#endif
