// Cost of the analysis and of its floor: the sines and cosines mem_1 must take.
// The progress lines that burg and mem_1 print go to /dev/null while a
// benchmark runs, so that a terminal does not weigh on the figures; the
// library reports on the real standard output in between, and a report that
// cannot be delivered there or to --benchmark_out fails the run.

#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>

#include <benchmark/benchmark.h>

#include "driver/driver.h"
#include "mem/mem.h"
#include "support/stdout_to.h"
#include "trig/routes.h"
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
        done = true;
    }
    bool lost = false;
    bool done = false; // a whole report was written
};

template <typename Reporter>
std::unique_ptr<benchmark::BenchmarkReporter> make_checked(const bool** lost, const bool** done)
{
    auto* rep = new checked<Reporter>;
    *lost = &rep->lost;
    *done = &rep->done;
    return std::unique_ptr<benchmark::BenchmarkReporter>(rep);
}

// A checked reporter for --benchmark_out in format fmt, one of those
// flags_valid lets through.
std::unique_ptr<benchmark::BenchmarkReporter> file_reporter(const std::string& fmt,
                                                            const bool** lost, const bool** done)
{
    if (fmt == "json")
        return make_checked<benchmark::JSONReporter>(lost, done);
    if (fmt == "console")
        return make_checked<benchmark::ConsoleReporter>(lost, done);
    BENCHMARK_DISABLE_DEPRECATED_WARNING
    return make_checked<benchmark::CSVReporter>(lost, done);
    BENCHMARK_RESTORE_DEPRECATED_WARNING
}

// The value in arg if it is --NAME=VALUE, or nullptr.
const char* value_of(const char* arg, const char* name)
{
    const std::size_t k = std::strlen(name);
    if (std::strncmp(arg, "--", 2) != 0 || std::strncmp(arg + 2, name, k) != 0 || arg[k + 2] != '=')
        return nullptr;
    return arg + k + 3;
}

// The value of the last --NAME=VALUE in argv, or nullptr; the library takes
// only that form, and the last one given.
const char* flag(int argc, char** argv, const char* name)
{
    const char* v = nullptr;
    for (int i = 1; i < argc; ++i)
        if (const char* w = value_of(argv[i], name))
            v = w;
    return v;
}

// The library parses these and acts on values it should refuse: a boolean
// that is neither true nor false counts as true, an infinite or NaN time runs
// for ever, an overflowing count is cut short.
enum class kind { boolean, color, format, time, warmup, count };
const struct {
    const char* name;
    kind k;
} checked_flags[] = {
    {"benchmark_list_tests", kind::boolean},
    {"benchmark_enable_random_interleaving", kind::boolean},
    {"benchmark_report_aggregates_only", kind::boolean},
    {"benchmark_display_aggregates_only", kind::boolean},
    {"benchmark_counters_tabular", kind::boolean},
    {"benchmark_color", kind::color},
    {"benchmark_format", kind::format},
    {"benchmark_out_format", kind::format},
    {"benchmark_min_time", kind::time},
    {"benchmark_min_warmup_time", kind::warmup},
    {"benchmark_repetitions", kind::count},
};

// v as a boolean flag's value: 1 true, 0 false, -1 neither.
int boolean(const char* v)
{
    static const char* const yes[] = {"true", "yes", "on", "1", "t", "y"};
    static const char* const no[] = {"false", "no", "off", "0", "f", "n"};
    for (const char* w : yes)
        if (strcasecmp(v, w) == 0)
            return 1;
    for (const char* w : no)
        if (strcasecmp(v, w) == 0)
            return 0;
    return -1;
}

// Why the value v of a flag of kind k is refused, or nullptr.
const char* refusal(kind k, const char* v)
{
    char* end = nullptr;
    errno = 0;
    switch (k) {
    case kind::boolean:
        return boolean(v) < 0 ? "is true or false" : nullptr;
    case kind::color:
        return std::strcmp(v, "auto") != 0 && boolean(v) < 0 ? "is auto, true or false" : nullptr;
    case kind::format:
        return std::strcmp(v, "console") != 0 && std::strcmp(v, "json") != 0 &&
                       std::strcmp(v, "csv") != 0
                   ? "is console, json or csv"
                   : nullptr;
    case kind::time:
    case kind::warmup: {
        const double t = std::strtod(v, &end);
        const bool ok = *v != '\0' && *end == '\0' && errno == 0 && std::isfinite(t) &&
                        (k == kind::time ? t > 0.0 : t >= 0.0);
        if (ok)
            return nullptr;
        return k == kind::time ? "is a finite number of seconds above 0"
                               : "is a finite number of seconds, 0 or more";
    }
    case kind::count: {
        const long n = std::strtol(v, &end, 10);
        return *v != '\0' && *end == '\0' && errno == 0 && n >= 1 && n <= 2147483647
                   ? nullptr
                   : "is a whole number from 1 to 2147483647";
    }
    }
    return nullptr;
}

// Whether every checked flag in argv has a value its kind takes; says which
// does not on stderr.
bool flags_valid(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        for (const auto& cf : checked_flags) {
            const char* v = value_of(argv[i], cf.name);
            if (const char* why = v != nullptr ? refusal(cf.k, v) : nullptr) {
                std::fprintf(stderr, "memspec_bench: --%s %s, not '%s'\n", cf.name, why, v);
                return false;
            }
        }
    return true;
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

// --benchmark_out=F: the library empties F before it knows whether anything
// will run, and leaves a partial report there when it fails or is stopped.
// So the report goes to a file of its own beside F, which replaces F by a
// rename only when the run succeeded with a report, and is removed on every
// other ending: an exit, a return, or a signal that ends the process.
char pending[4096]; // that file's path while it may still be removed, else ""

void remove_pending()
{
    if (pending[0] != '\0')
        unlink(pending);
}

extern "C" void remove_pending_and_die(int sig)
{
    remove_pending();
    signal(sig, SIG_DFL);
    raise(sig);
}

// Makes the file beside target and points *out (the flag's value in argv) at
// it, with signals that would end the process held back until the file's name
// is known. False, with a message, when it cannot be made.
bool write_beside(const std::string& target, std::string* out)
{
    const std::size_t slash = target.rfind('/');
    const std::string dir = slash == std::string::npos ? "." : target.substr(0, slash + 1);
    const std::string name =
        dir + (slash == std::string::npos ? "/" : "") + ".memspec-bench.XXXXXX";
    if (name.size() >= sizeof pending) {
        std::fprintf(stderr, "memspec_bench: --benchmark_out: the path is too long\n");
        return false;
    }
    sigset_t ending;
    sigset_t before;
    sigemptyset(&ending);
    for (const int sig : {SIGHUP, SIGINT, SIGTERM, SIGPIPE, SIGQUIT})
        sigaddset(&ending, sig);
    sigprocmask(SIG_BLOCK, &ending, &before);
    std::memcpy(pending, name.c_str(), name.size() + 1);
    const int fd = mkstemp(pending);
    if (fd < 0) {
        const int e = errno;
        pending[0] = '\0';
        sigprocmask(SIG_SETMASK, &before, nullptr);
        std::fprintf(stderr, "memspec_bench: cannot write beside %s: %s\n", target.c_str(),
                     std::strerror(e));
        return false;
    }
    close(fd);
    std::atexit(remove_pending);
    for (const int sig : {SIGHUP, SIGINT, SIGTERM, SIGPIPE, SIGQUIT}) {
        struct sigaction was {};
        sigaction(sig, nullptr, &was);
        if (was.sa_handler != SIG_IGN) // left ignored as the caller asked
            signal(sig, remove_pending_and_die);
    }
    sigprocmask(SIG_SETMASK, &before, nullptr);
    *out = std::string("--benchmark_out=") + pending;
    return true;
}

// Puts the finished report in place of target, with target's permissions or,
// for a new file, those a new file would get. False, with a message, if not.
bool replace(const char* target)
{
    struct stat st {};
    mode_t mode = 0;
    if (stat(target, &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }
    if (chmod(pending, mode) != 0 || rename(pending, target) != 0) {
        std::fprintf(stderr, "memspec_bench: cannot replace %s: %s\n", target,
                     std::strerror(errno));
        return false;
    }
    pending[0] = '\0';
    return true;
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
    if (!flags_valid(argc, argv))
        return 2;
    // a write past a file size limit fails, and is reported, rather than
    // ending the process
    signal(SIGXFSZ, SIG_IGN);

    const char* out = flag(argc, argv, "benchmark_out");
    const char* format = flag(argc, argv, "benchmark_out_format");
    const std::string fmt = format != nullptr ? format : "json";
    for (int i = 1; i < argc; ++i)
        help_asked = help_asked || std::strcmp(argv[i], "--help") == 0;

    // A regular file, or a new one, is replaced whole; anything else (a
    // device, a pipe) is written in place, as it cannot be replaced.
    std::string target;
    std::string beside;
    struct stat st {};
    const bool exists = out != nullptr && stat(out, &st) == 0;
    if (out != nullptr && *out != '\0' && (!exists || S_ISREG(st.st_mode))) {
        char real[4096];
        target = exists && realpath(out, real) != nullptr ? real : out;
        if (!write_beside(target, &beside))
            return 1;
        for (int i = 1; i < argc; ++i)
            if (std::strncmp(argv[i], "--benchmark_out=", 16) == 0)
                argv[i] = &beside[0];
    }

    benchmark::Initialize(&argc, argv, help);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 2;

    const bool* file_lost = nullptr;
    const bool* file_done = nullptr;
    std::unique_ptr<benchmark::BenchmarkReporter> file;
    if (out != nullptr && *out != '\0')
        file = file_reporter(fmt, &file_lost, &file_done);
    const std::size_t ran =
        benchmark::RunSpecifiedBenchmarks(benchmark::CreateDefaultDisplayReporter(), file.get());
    benchmark::Shutdown();

    int status = stdout_status();
    if (ran == 0) {
        std::fprintf(stderr, "memspec_bench: no benchmark matches --benchmark_filter\n");
        status = 2;
    }
    if (file_lost != nullptr && *file_lost) {
        std::fprintf(stderr, "memspec_bench: writing the report to %s failed%s\n", out,
                     target.empty() ? "" : "; it is unchanged");
        status = 1;
    }
    if (!target.empty() && status == 0 && file_done != nullptr && *file_done &&
        !replace(target.c_str()))
        status = 1;
    return status;
}
