// Cost of the analysis and of its floor: the sines and cosines mem_1 must take.
// The progress lines that burg and mem_1 print go to /dev/null while a
// benchmark runs, so that a terminal does not weigh on the figures; the
// library reports on the real standard output in between.

#include <benchmark/benchmark.h>

#include "driver/driver.h"
#include "mem/mem.h"
#include "mem/trig.h"
#include "tests/stdout_to.h"

namespace {

double x[series_len], f[series_len], spec[series_len], g[series_len], fpe[series_len],
    c[series_len];
int n_data, max_order, n_lag;
double dt, pm;

// The test series, mean removed, as the program fits it.
void prepare()
{
    mk_dat(x, &n_data, &max_order, &n_lag, &dt);
    clamp_lag(max_order, &n_lag);
    remove_mean(n_data, x);
}

void BM_burg(benchmark::State& state)
{
    const stdout_to progress_lines;
    prepare();
    while (state.KeepRunning()) {
        burg(n_data, max_order, n_lag, x, g, c, fpe, &pm);
        benchmark::DoNotOptimize(pm);
    }
}

void BM_mem_1(benchmark::State& state)
{
    const stdout_to progress_lines;
    prepare();
    burg(n_data, max_order, n_lag, x, g, c, fpe, &pm);
    while (state.KeepRunning()) {
        mem_1(n_data, max_order, dt, g, f, spec, pm);
        benchmark::ClobberMemory();
    }
}

void BM_analysis(benchmark::State& state)
{
    const stdout_to progress_lines;
    while (state.KeepRunning()) {
        prepare();
        burg(n_data, max_order, n_lag, x, g, c, fpe, &pm);
        mem_1(n_data, max_order, dt, g, f, spec, pm);
        benchmark::ClobberMemory();
    }
}

// The sines and cosines of mem_1's angles and nothing else.
void BM_sincos_floor(benchmark::State& state)
{
    prepare();
    const double two_pi = 2.0 * PI_CONST;
    const double df = 1.0 / (static_cast<double>(n_data - 1) * dt);
    while (state.KeepRunning()) {
        double s = 0.0;
        for (int i = 1; i <= n_data; ++i) {
            const double w = (two_pi * (static_cast<double>(i - 1) * df)) * dt;
            for (int j = 1; j <= max_order; ++j) {
                const double th = static_cast<double>(j) * w;
                s = s + trig::cos(th) + trig::sin(th);
            }
        }
        benchmark::DoNotOptimize(s);
    }
}

BENCHMARK(BM_burg);
BENCHMARK(BM_mem_1);
BENCHMARK(BM_analysis);
BENCHMARK(BM_sincos_floor);

} // namespace

BENCHMARK_MAIN();
