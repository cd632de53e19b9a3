// The fixed analysis: its parameters, its test series and its report.
// Series are 1-based, as in mem/mem.h.

#ifndef MEMSPEC_DRIVER_H
#define MEMSPEC_DRIVER_H

#include "mem/mem.h"

// Room of each series: indices 0..series_len - 1, index 0 unused.
constexpr int series_len = 304;

// Run parameters.
constexpr int run_n_data = 241;   // samples, spanning t = 0..1
constexpr int run_max_order = 38; // highest filter order
constexpr int run_n_lag = 50;     // autocorrelation entries, lags 0..49

static_assert(run_n_data >= 2 && run_n_data < series_len, "x, f and spec must hold n_data");
static_assert(run_max_order >= 0 && run_max_order <= run_n_data - 2,
              "Burg's recursion needs max_order + 2 samples");
static_assert(run_n_lag < series_len && run_max_order + 2 < series_len,
              "c and fpe must hold n_lag and max_order + 1 entries after the lag clamp");

// Periods of the test series' tones, in time units: 124.5, 65, 64 and 4
// cycles per unit.
constexpr double tone_period[4] = {1.0 / 124.5, 1.0 / 65.0, 1.0 / 64.0, 0.25};

// tone_angle: the phase of the tone of period p at sample i, (2 pi t) / p
// with t = (i - 1) dt: divided by the period rather than multiplied by the
// frequency, as the last bits of the samples depend on which.
inline double tone_angle(int i, double dt, double p)
{
    return (2.0 * PI_CONST * (static_cast<double>(i - 1) * dt)) / p;
}

// mk_dat: sets the run parameters and fills x[1..n_data] with the test
// series: unit sinusoids of 124.5, 65, 64 and 4 cycles per time unit, all of
// phase zero at t = 0, sampled at dt = 1/(n_data - 1) (0.0 when n_data is 1).
// x[0] is not touched.
void mk_dat(double* x, int* n_data, int* max_order, int* n_lag, double* dt);

// clamp_lag: raises n_lag to max_order + 2 unless it already exceeds
// max_order + 1, so that burg extrapolates at least one lag.
void clamp_lag(int max_order, int* n_lag);

// remove_mean: subtracts the mean of x[1..n] from each sample.
void remove_mean(int n, double* x);

// One run of the analysis: the parameters mk_dat sets, the power burg finds
// and the six series, each 1-based (mem/mem.h says what each holds). main,
// the value table and the benchmark each keep one in static storage, zero at
// start.
struct run {
    int n_data;              // samples, and frequency points
    int max_order;           // highest filter order
    int n_lag;               // autocorrelation entries
    double dt;               // sampling interval
    double pm;               // prediction-error power of the filter
    double x[series_len];    // samples, mean removed before the fit
    double f[series_len];    // frequency of each spectrum point
    double spec[series_len]; // power spectral density at f
    double g[series_len];    // prediction-error filter
    double fpe[series_len];  // final prediction error, fpe[k] for order k - 1
    double c[series_len];    // autocorrelation, c[k] at lag k - 1
};

// analyse: the whole analysis into r: mk_dat, the lag clamp, mean removal,
// burg and mem_1, in that order, with their progress lines on stdout. Ends the
// process as burg does if its storage is refused.
void analyse(run* r);

// report: prints the result table to stdout. Row i pairs frequency f[i] and
// spectrum spec[i] with fpe[i] (filter order i - 1, rows 1..max_order + 1)
// and c[i] (lag i - 1, rows 1..n_lag); rows run to n_data.
void report(int n_data, int max_order, int n_lag, const double* f, const double* spec,
            const double* fpe, const double* c);

#endif
