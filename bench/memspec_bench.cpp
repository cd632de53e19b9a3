// Cost of the analysis and of its floor: the sines and cosines mem_1 must take.
// The progress lines that burg and mem_1 print go to /dev/null while a
// benchmark runs, so that a terminal does not weigh on the figures; the
// library reports on the real standard output in between, and a report that
// cannot be delivered there or to --benchmark_out fails the run.

#include <fcntl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>

#include <benchmark/benchmark.h>

#include "driver/driver.h"
#include "mem/mem.h"
#include "mem/trig.h"
#include "support/stdout_to.h"

namespace {

double x[series_len], f[series_len], spec[series_len], g[series_len], fpe[series_len],
    c[series_len];
int n_data, max_order, n_lag;
double dt, pm;

// The whole analysis once, so that x holds the series burg fits, g and pm
// the filter mem_1 evaluates, and f its frequencies.
void run_once()
{
    const stdout_to progress_lines;
    analyse(x, f, spec, g, fpe, c, &n_data, &max_order, &n_lag, &dt, &pm);
}

void BM_burg(benchmark::State& state)
{
    run_once();
    const stdout_to progress_lines;
    while (state.KeepRunning()) {
        burg(n_data, max_order, n_lag, x, g, c, fpe, &pm);
        benchmark::DoNotOptimize(pm);
    }
}

void BM_mem_1(benchmark::State& state)
{
    run_once();
    const stdout_to progress_lines;
    while (state.KeepRunning()) {
        mem_1(n_data, max_order, dt, g, f, spec, pm);
        benchmark::ClobberMemory();
    }
}

void BM_analysis(benchmark::State& state)
{
    const stdout_to progress_lines;
    while (state.KeepRunning()) {
        analyse(x, f, spec, g, fpe, c, &n_data, &max_order, &n_lag, &dt, &pm);
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
        for (int i = 1; i <= n_data; ++i) {
            const double w = omega(f[i], dt);
            for (int j = 1; j <= max_order; ++j) {
                double sn = 0.0;
                double cs = 0.0;
                sincos(static_cast<double>(j) * w, &sn, &cs);
                s = s + cs + sn;
            }
        }
        benchmark::DoNotOptimize(s);
    }
    state.counters["per_call"] =
        benchmark::Counter(n_data * max_order, benchmark::Counter::kIsIterationInvariantRate |
                                                   benchmark::Counter::kInvert);
}

#ifdef MEMSPEC_LLVMLIBC
void BM_sincos_llvm(benchmark::State& state)
{
    if (!llvm_can_run()) {
        state.SkipWithError("this CPU cannot run LLVM's archive");
        return;
    }
    BM_sincos<llvmlibc_sincos>(state);
}
#endif

BENCHMARK(BM_burg);
BENCHMARK(BM_mem_1);
BENCHMARK(BM_analysis);

// mem_1's floor: the sine and cosine this build takes; then each source side
// by side
BENCHMARK_TEMPLATE(BM_sincos, trig::sincos)->Name("BM_sincos/floor");
BENCHMARK_TEMPLATE(BM_sincos, trig::sincos_libm)->Name("BM_sincos/libm");
#ifdef MEMSPEC_LLVMLIBC
BENCHMARK(BM_sincos_llvm)->Name("BM_sincos/llvm");
#endif
#ifdef MEMSPEC_MPFR
BENCHMARK_TEMPLATE(BM_sincos, trig::sincos_mpfr)->Name("BM_sincos/mpfr");
#endif

// A reporter for --benchmark_out that checks, once the library has written
// all of it, that the file took it. The library closes the file after this
// without looking, so an error that only close reports goes unseen.
template <typename Reporter>
class checked : public Reporter {
public:
    void Finalize() override
    {
        Reporter::Finalize();
        lost = !this->GetOutputStream().flush();
    }
    bool lost = false;
};

template <typename Reporter>
std::unique_ptr<benchmark::BenchmarkReporter> make_checked(const bool** lost)
{
    auto* r = new checked<Reporter>;
    *lost = &r->lost;
    return std::unique_ptr<benchmark::BenchmarkReporter>(r);
}

// A checked reporter for --benchmark_out in format fmt, or nullptr if the
// library has no such format.
std::unique_ptr<benchmark::BenchmarkReporter> file_reporter(const std::string& fmt,
                                                            const bool** lost)
{
    if (fmt == "json")
        return make_checked<benchmark::JSONReporter>(lost);
    if (fmt == "console")
        return make_checked<benchmark::ConsoleReporter>(lost);
    BENCHMARK_DISABLE_DEPRECATED_WARNING
    if (fmt == "csv")
        return make_checked<benchmark::CSVReporter>(lost);
    BENCHMARK_RESTORE_DEPRECATED_WARNING
    return nullptr;
}

// The value of the last --NAME=VALUE in argv, or nullptr; the library takes
// only that form, and the last one given.
const char* flag(int argc, char** argv, const char* name)
{
    const std::size_t k = std::strlen(name);
    const char* v = nullptr;
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--", 2) == 0 && std::strncmp(argv[i] + 2, name, k) == 0 &&
            argv[i][k + 2] == '=')
            v = argv[i] + k + 3;
    return v;
}

bool help_asked;

// 0, or 1 with a message when what went to standard output did not arrive.
int stdout_status()
{
    std::cout.flush();
    if (!std::cout || std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
        std::fprintf(stderr, "memspec_bench: writing the report to standard output failed\n");
        return 1;
    }
    return 0;
}

// The library calls this, and then exits 0, both for --help and for a flag
// value it does not take; the second is a mistake and the first must arrive.
void help()
{
    if (!help_asked) {
        std::fprintf(stderr, "memspec_bench: a flag has a value the library does not take "
                             "(see --help)\n");
        std::exit(2);
    }
    benchmark::PrintDefaultHelp();
    std::exit(stdout_status());
}

} // namespace

int main(int argc, char** argv)
{
    // A descriptor closed at start would be taken by the first file opened,
    // so that --benchmark_out received the console report or the messages.
    bool closed[3];
    for (int fd = 0; fd <= 2; ++fd) {
        closed[fd] = fcntl(fd, F_GETFD) < 0;
        if (closed[fd] && open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY) != fd)
            return 1;
    }
    if (closed[1]) {
        std::fprintf(stderr, "memspec_bench: standard output is closed\n");
        return 1;
    }

    // the library aborts on these
    const char* reps = flag(argc, argv, "benchmark_repetitions");
    if (reps != nullptr && std::atoi(reps) < 1) {
        std::fprintf(stderr, "memspec_bench: --benchmark_repetitions must be at least 1\n");
        return 2;
    }
    const char* out = flag(argc, argv, "benchmark_out");
    const char* format = flag(argc, argv, "benchmark_out_format");
    const std::string fmt = format != nullptr ? format : "json";
    for (int i = 1; i < argc; ++i)
        help_asked = help_asked || std::strcmp(argv[i], "--help") == 0;

    benchmark::Initialize(&argc, argv, help);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 2;

    const bool* file_lost = nullptr;
    std::unique_ptr<benchmark::BenchmarkReporter> file;
    if (out != nullptr) {
        file = file_reporter(fmt, &file_lost);
        if (file == nullptr) {
            std::fprintf(stderr, "memspec_bench: --benchmark_out_format is json, console or csv\n");
            return 2;
        }
    }
    benchmark::RunSpecifiedBenchmarks(benchmark::CreateDefaultDisplayReporter(), file.get());
    benchmark::Shutdown();

    int status = stdout_status();
    if (file_lost != nullptr && *file_lost) {
        std::fprintf(stderr, "memspec_bench: writing the report to %s failed\n", out);
        status = 1;
    }
    return status;
}
