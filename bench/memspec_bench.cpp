// Cost of the analysis, of its parts and of the sines and cosines mem_1 must
// take, from each source the build has. Google Benchmark's own main, flags and reporters; the
// progress lines that burg and mem_1 print go to /dev/null while a benchmark
// runs, so that a terminal does not weigh on the figures.

#include <benchmark/benchmark.h>

#include "driver/driver.h"
#include "mem/mem.h"
#include "tests/stdout_to.h"
#include "trig/trig.h"

namespace {

run r;

// The whole analysis once, so that x holds the series burg fits, g and pm
// the filter mem_1 evaluates, and f its frequencies.
void run_once()
{
    const stdout_to progress_lines;
    analyse(&r);
}

void BM_burg(benchmark::State& state)
{
    run_once();
    const stdout_to progress_lines;
    while (state.KeepRunning()) {
        burg(r.n_data, r.max_order, r.n_lag, r.x, r.g, r.c, r.fpe, &r.pm);
        benchmark::DoNotOptimize(r.pm);
    }
}

void BM_mem_1(benchmark::State& state)
{
    run_once();
    const stdout_to progress_lines;
    while (state.KeepRunning()) {
        mem_1(r.n_data, r.max_order, r.dt, r.g, r.f, r.spec, r.pm);
        benchmark::ClobberMemory();
    }
}

void BM_analysis(benchmark::State& state)
{
    const stdout_to progress_lines;
    while (state.KeepRunning()) {
        analyse(&r);
        benchmark::ClobberMemory();
    }
}

// The sines and cosines of mem_1's angles by sincos, and nothing else; with
// the time per call. A template, so that sincos is inlined where mem_1 has it
// inlined.
template <void (*sincos)(double, double*, double*)>
void BM_sincos(benchmark::State& state)
{
    run_once();
    while (state.KeepRunning()) {
        double s = 0.0;
        for (int i = 1; i <= r.n_data; ++i) {
            const double w = omega(r.f[i], r.dt);
            for (int j = 1; j <= r.max_order; ++j) {
                double sn = 0.0;
                double cs = 0.0;
                sincos(static_cast<double>(j) * w, &sn, &cs);
                s = s + cs + sn;
            }
        }
        benchmark::DoNotOptimize(s);
    }
    state.counters["per_call"] =
        benchmark::Counter(r.n_data * r.max_order, benchmark::Counter::kIsIterationInvariantRate |
                                                       benchmark::Counter::kInvert);
}

} // namespace

BENCHMARK(BM_burg);
BENCHMARK(BM_mem_1);
BENCHMARK(BM_analysis);
// mem_1's sines and cosines from each source
BENCHMARK_TEMPLATE(BM_sincos, trig::sincos_libm)->Name("BM_sincos/libm");
#ifdef MEMSPEC_MPFR
BENCHMARK_TEMPLATE(BM_sincos, trig::sincos_mpfr)->Name("BM_sincos/mpfr");
#endif
#ifdef MEMSPEC_QUAD
BENCHMARK_TEMPLATE(BM_sincos, trig::sincos_quad)->Name("BM_sincos/quad");
#endif

BENCHMARK_MAIN();
