// Maximum-entropy spectral estimation by Burg's method.
//
// Every series is a caller-owned array of double indexed from 1: element 0
// is never read or written, so an array for indices 1..k has k + 1 elements.
//
// The prediction-error filter of order m is
//     A(z) = 1 + g[1] z^-1 + ... + g[m] z^-m,
// so g holds the autoregressive coefficients with their sign flipped: the
// filter predicts x[t] as -(g[1] x[t-1] + ... + g[m] x[t-m]).

#ifndef MEMSPEC_MEM_H
#define MEMSPEC_MEM_H

#include <cfloat>

// The results are specified to the last bit of binary64 arithmetic with every
// product rounded before it is summed; wider intermediates would change them.
#if !defined(FLT_EVAL_METHOD) || FLT_EVAL_METHOD != 0
#error "memspec needs FLT_EVAL_METHOD == 0 (binary64 arithmetic without excess precision)"
#endif
// GCC names each option that lets it reassociate, replace a division by a
// multiplication, drop signed zeros or assume away NaNs; clang names only
// -ffast-math and -ffinite-math-only.
#if defined(__FAST_MATH__) || defined(__ASSOCIATIVE_MATH__) || defined(__RECIPROCAL_MATH__) ||     \
    defined(__NO_SIGNED_ZEROS__) || (defined(__FINITE_MATH_ONLY__) && __FINITE_MATH_ONLY__)
#error "memspec must not be built with -ffast-math, -Ofast or any of the unsafe math options"
#endif

constexpr double PI_CONST = 3.141592653589793;

// omega: the angle step of mem_1 at frequency f, (2 pi f) dt, grouped so;
// the filter's term j is taken at the angle j omega.
inline double omega(double f, double dt)
{
    return (2.0 * PI_CONST * f) * dt;
}

// burg: fits prediction-error filters of orders 1..max_order to x by Burg's
// recursion, printing "\n M=%4d " to stdout before each order.
//   n                 number of samples, n >= 1
//   max_order         highest order: 0 <= max_order <= n - 2, or 0 when n = 1
//   n_lag             autocorrelation entries wanted; lags beyond max_order
//                     are extrapolated only when n_lag >= max_order + 2
//   x[1..n]           the series, mean already removed; not modified
//   g[1..max_order]   out: filter of order max_order (sign as above)
//   c[1..L]           out: autocorrelation, c[k] at lag k - 1, with
//                     L = max(n_lag, max_order + 1); not normalised: c[1] is
//                     the mean square of x
//   fpe[1..max_order+1]  out: Akaike's final prediction error, fpe[k] for
//                     order k - 1: power * ((n + k) / (n - k)), the ratio of
//                     the two counts formed first, or 0.0 where n - k = 0
//                     (so fpe[1] = 0.0 for a single sample)
//   pm                out: prediction-error power of the order-max_order
//                     filter, in squared units of x
// Uses three heap arrays for the call. If they cannot be had, writes a
// Shift_JIS message to stderr and ends the process with status 1.
void burg(int n, int max_order, int n_lag, double* x, double* g, double* c, double* fpe,
          double* pm);

// levins: one order of Burg's recursion, called by burg for m = 1, 2, ...
// in turn. On entry g[1..m-1], prev_g[1..m-1] and *pm hold the filter and
// power of order m - 1, and err_a[1..n-m], err_b[1..n-m] its backward and
// forward prediction errors. On return they hold those of order m; g[m] is
// the reflection coefficient, 0.0 where the error energy is exactly zero.
void levins(int n, double* g, double* pm, double* err_a, double* err_b, double* prev_g, int m);

// mem_1: maximum-entropy power spectrum of the filter g at n evenly spaced
// frequencies from 0 to 1/dt (the sampling rate) inclusive, printing
// "\n  freq=%6.2f" to stdout for each.
//   n                 number of frequencies (the record's sample count), >= 1
//   max_order         filter order, >= 0
//   dt                sampling interval, > 0 when n > 1
//   g[1..max_order]   filter from burg
//   f[1..n]           out: f[i] = (i - 1) * df with df = 1 / ((n - 1) dt),
//                     in cycles per unit of dt's time; all 0.0 when n = 1
//   spec[1..n]        out: ((pm + pm) dt) / (im^2 + re^2), where re and im
//                     are A(exp(-i w)) at w = omega(f[i], dt) summed term by
//                     term in ascending j (re from 1, im from 0, each term
//                     g[j] cos(j w) or g[j] sin(j w)): 2 pm dt / |A|^2, in
//                     squared units of x per cycle; the factor 2 makes it a
//                     one-sided density on 0..1/(2 dt). 1e18 where A
//                     vanishes exactly
//   pm                prediction-error power from burg
void mem_1(int n, int max_order, double dt, double* g, double* f, double* spec, double pm);

#endif
