// The correctly rounded sine and cosine where GNU MPFR is not to be had
// (Windows, WebAssembly): computed in binary128 by the toolchain's library,
// then rounded once to double, each rounding proven or refused.
//
// A binary128 value q within e of the exact value y rounds to the double y
// rounds to whenever no rounding boundary of double (a midpoint between two
// adjacent doubles, on the subnormal grid below 2^-1022) lies within e of q.
// The check asks exactly that; it refuses only the rare argument whose sine
// or cosine lies that near a midpoint, and no angle of the program's run.

#ifndef MEMSPEC_QUAD_H
#define MEMSPEC_QUAD_H

#include <cfloat>

namespace trig {

// binary128: long double where it is (WebAssembly, 64-bit Arm Linux), else
// GCC's __float128 with libquadmath's functions.
#if LDBL_MANT_DIG == 113
using quad = long double;
#else
__extension__ typedef __float128 quad;
#endif

// quad_error: the bound, relative to |q|, on the error of the library's sine
// and cosine, 2^-100. libquadmath's sinq and cosq (glibc's ldbl-128 code) and
// musl's sinl and cosl (FreeBSD's ld128 kernels) reduce any double argument
// by pi/2 with enough bits of 2/pi to keep the reduced angle good to the
// last bit, and evaluate kernels good to about one unit in binary128's last
// place, 2^-112 relative; the bound allows 4,096 times that.
extern const quad quad_error;

// round_once: true, with *d = q rounded to the nearest double, where every
// value within quad_error |q| of q rounds to that same double; false, with
// *d untouched, where one may not. A NaN gives a NaN; q = -0 gives -0.0.
bool round_once(quad q, double* d);

// sincos_proven: *s = sin(a) and *c = cos(a) in binary128, each rounded once
// to double; false, with *s and *c unspecified, where either rounding is not
// proven. NaN or an infinity gives NaN, sin(-0) is -0.
bool sincos_proven(double a, double* s, double* c);

} // namespace trig

#endif
