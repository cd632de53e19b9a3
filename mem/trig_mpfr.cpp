#include <cstddef>
#include <cstdlib>

#include <gmp.h>
#include <mpfr.h>

#include "mem/nomem.h"
#include "mem/trig.h"

namespace {

// GMP's own allocator aborts when the heap is exhausted; this one ends the run
// with the program's own message.
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

// What the caller had: restored before each function returns.
struct settings {
    mpfr_exp_t emin, emax;
    void* (*alloc)(std::size_t);
    void* (*realloc)(void*, std::size_t, std::size_t);
    void (*free)(void*, std::size_t);
};

// Binary64 in MPFR: a 53-bit significand and, with mpfr_subnormalize after
// each operation, the exponent range of double including its subnormals.
settings enter()
{
    settings was{mpfr_get_emin(), mpfr_get_emax(), nullptr, nullptr, nullptr};
    mp_get_memory_functions(&was.alloc, &was.realloc, &was.free);
    mp_set_memory_functions(gmp_alloc, gmp_realloc, gmp_free);
    mpfr_set_emin(-1073);
    mpfr_set_emax(1024);
    return was;
}

void leave(const settings& was)
{
    mpfr_set_emin(was.emin);
    mpfr_set_emax(was.emax);
    mp_set_memory_functions(was.alloc, was.realloc, was.free);
}

// y rounded again into double's subnormal range, t its ternary value: 0 exact,
// positive above, negative below the true value.
double to_double(mpfr_ptr y, int t)
{
    mpfr_subnormalize(y, t, MPFR_RNDN);
    return mpfr_get_d(y, MPFR_RNDN);
}

// mpfr_sin_cos packs both ternary values into one: 0 exact, 1 above, 2 below.
int ternary(int code)
{
    return code == 0 ? 0 : code == 1 ? 1 : -1;
}

} // namespace

double trig::sin(double a)
{
    const settings was = enter();
    MPFR_DECL_INIT(x, 53);
    MPFR_DECL_INIT(y, 53);
    mpfr_set_d(x, a, MPFR_RNDN);
    const double s = to_double(y, mpfr_sin(y, x, MPFR_RNDN));
    leave(was);
    return s;
}

void trig::sincos(double a, double* s, double* c)
{
    const settings was = enter();
    MPFR_DECL_INIT(x, 53);
    MPFR_DECL_INIT(ys, 53);
    MPFR_DECL_INIT(yc, 53);
    mpfr_set_d(x, a, MPFR_RNDN);
    const int t = mpfr_sin_cos(ys, yc, x, MPFR_RNDN);
    *s = to_double(ys, ternary(t & 3));
    *c = to_double(yc, ternary(t >> 2));
    leave(was);
}
