// memspec: maximum-entropy spectrum of a fixed test series, printed as a table.

#include <cstdio>

#include "driver/driver.h"

namespace {

// "Writing the output failed." in Shift_JIS.
const char write_failed[] = "\x8F\x6F\x97\xCD\x82\xCC\x8F\x91\x82\xAB\x8D\x9E\x82\xDD\x82\xC9"
                            "\x8E\xB8\x94\x73\x82\xB5\x82\xDC\x82\xB5\x82\xBD\x81\x42\n";

double x[series_len];    // samples, mean removed before the fit
double f[series_len];    // frequency of each spectrum point
double spec[series_len]; // power spectral density at f
double g[series_len];    // prediction-error filter
double fpe[series_len];  // final prediction error, fpe[k] for order k - 1
double c[series_len];    // autocorrelation, c[k] at lag k - 1

} // namespace

int main()
{
    int n_data = 0;
    int max_order = 0;
    int n_lag = 0;
    double dt = 0.0;
    double pm = 0.0;

    analyse(x, f, spec, g, fpe, c, &n_data, &max_order, &n_lag, &dt, &pm);
    report(n_data, max_order, n_lag, f, spec, fpe, c);

    // a table lost on a full disk or a closed stream must not pass as success
    if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
        std::fputs(write_failed, stderr);
        return 1;
    }
    return 0;
}
