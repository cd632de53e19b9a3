#include <cstddef>
#include <cstdlib>

#include <gmp.h>
#include <mpfr.h>

#include "support/nomem.h"
#include "trig/trig.h"

namespace {

// GMP's own allocator aborts when the heap is exhausted; this one ends the run
// with the program's own message. It is set once, at the first call, before
// MPFR has allocated anything, and kept: GMP's manual allows the change only
// while no object made by the previous functions exists, and MPFR keeps
// caches from call to call.
void* gmp_alloc(std::size_t k)
{
    void* p = std::malloc(k);
    if (p == nullptr)
        no_memory();
    return p;
}

void* gmp_realloc(void* p, std::size_t, std::size_t k)
{
    void* q = std::realloc(p, k);
    if (q == nullptr)
        no_memory();
    return q;
}

void gmp_free(void* p, std::size_t)
{
    std::free(p);
}

// mpfr_sin_cos packs both ternary values into one: 0 exact, 1 above, 2 below.
int ternary(int code)
{
    return code == 0 ? 0 : code == 1 ? 1 : -1;
}

// y as the double it rounds to, or false where that needs the exponent range
// of double: y below 2^-1022 in magnitude, in or next to the subnormals.
bool normal(mpfr_srcptr y, double* d)
{
    if (mpfr_regular_p(y) && mpfr_get_exp(y) < -1021)
        return false;
    *d = mpfr_get_d(y, MPFR_RNDN);
    return true;
}

// sin and cos of x into ys and yc at 53 bits; with subnormal, in double's
// exponent range and rounded once more onto its subnormal grid.
bool evaluate(mpfr_ptr x, mpfr_ptr ys, mpfr_ptr yc, double a, double* s, double* c, bool subnormal)
{
    mpfr_set_d(x, a, MPFR_RNDN);
    const int t = mpfr_sin_cos(ys, yc, x, MPFR_RNDN);
    if (subnormal) {
        mpfr_subnormalize(ys, ternary(t & 3), MPFR_RNDN);
        mpfr_subnormalize(yc, ternary(t >> 2), MPFR_RNDN);
        *s = mpfr_get_d(ys, MPFR_RNDN);
        *c = mpfr_get_d(yc, MPFR_RNDN);
        return true;
    }
    return normal(ys, s) && normal(yc, c);
}

bool allocator_set;

} // namespace

void trig::sincos_mpfr(double a, double* s, double* c)
{
    if (!allocator_set) {
        mp_set_memory_functions(gmp_alloc, gmp_realloc, gmp_free);
        allocator_set = true;
    }

    MPFR_DECL_INIT(x, 53);
    MPFR_DECL_INIT(ys, 53);
    MPFR_DECL_INIT(yc, 53);
    // In a range that holds every double, a normal result is already the
    // double it rounds to; otherwise the range is double's own for the call.
    const mpfr_exp_t emin = mpfr_get_emin();
    const mpfr_exp_t emax = mpfr_get_emax();
    if (emin > -1073 || emax < 1024 || !evaluate(x, ys, yc, a, s, c, false)) {
        mpfr_set_emin(-1073);
        mpfr_set_emax(1024);
        evaluate(x, ys, yc, a, s, c, true);
        mpfr_set_emin(emin);
        mpfr_set_emax(emax);
    }
}
