// The program as a user runs it: its bytes, its exit status, its failures.

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "driver/driver.h"
#include "tests/temp_file.h"

namespace {

const std::string alloc_failed = "\x83\x81\x83\x82\x83\x8A\x8A\x84\x82\xE8\x93\x96\x82\xC4\x82\xC9"
                                 "\x8E\xB8\x94\x73\x82\xB5\x82\xDC\x82\xB5\x82\xBD\x81\x42\n";
const std::string write_failed = "\x8F\x6F\x97\xCD\x82\xCC\x8F\x91\x82\xAB\x8D\x9E\x82\xDD\x82\xC9"
                                 "\x8E\xB8\x94\x73\x82\xB5\x82\xDC\x82\xB5\x82\xBD\x81\x42\n";

// Makes glibc take its sine and cosine for CPUs without FMA; changes nothing
// where the CPU has none or the library is another.
const std::string no_fma = "GLIBC_TUNABLES=glibc.cpu.hwcaps=-AVX2,-FMA";

// The bytes a file limit lets through: ulimit -f 8.
const rlim_t size_limit = 8192;

enum class sink {
    file,
    line_buffered,        // a file, with stdbuf -oL asking for each line at once
    size_limited,         // SIGXFSZ ignored, so the write fails with EFBIG
    size_limited_sigxfsz, // SIGXFSZ as the caller left it: it ends the run
    read_only,            // as 1<file
    closed,               // as >&-
    no_reader,
    no_reader_sigpipe_ignored,
    non_blocking, // a pipe of 4096 bytes set O_NONBLOCK, read once the run ends
};

struct result {
    int status; // exit status, 128 + signal, or -1 when the run could not be set up
    std::string out;
    std::string err;
};

// MEMSPEC_TEST_WRAPPER, split at blanks: a command that runs the program,
// such as valgrind with its options.
std::vector<std::string> wrapper()
{
    const char* w = std::getenv("MEMSPEC_TEST_WRAPPER");
    std::istringstream in(w != nullptr ? w : "");
    std::vector<std::string> words;
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

// Runs in the child: points stdout at the sink and runs the program.
[[noreturn]] void exec(const std::string& bin, sink out, const temp_file& o, const temp_file& e,
                       int pipe_in, std::vector<std::string> env, rlim_t address_space)
{
    std::vector<std::string> words;
    if (out == sink::line_buffered)
        words = {"stdbuf", "-oL"};
    int fd = o.fd;
    if (out == sink::read_only)
        fd = open(o.path.c_str(), O_RDONLY);
    else if (out == sink::no_reader || out == sink::no_reader_sigpipe_ignored ||
             out == sink::non_blocking)
        fd = pipe_in;
    if (out == sink::non_blocking && (fcntl(fd, F_SETPIPE_SZ, 4096) < 0 ||
                                      fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK) < 0))
        _exit(126);
    if (out == sink::closed)
        close(1);
    else if (fd < 0 || dup2(fd, 1) < 0)
        _exit(126);
    if (out == sink::size_limited || out == sink::size_limited_sigxfsz) {
        const rlimit r{size_limit, size_limit};
        setrlimit(RLIMIT_FSIZE, &r);
        signal(SIGXFSZ, out == sink::size_limited ? SIG_IGN : SIG_DFL);
    }
    if (address_space != 0) {
        const rlimit r{address_space, address_space};
        setrlimit(RLIMIT_AS, &r);
    }
    signal(SIGPIPE, out == sink::no_reader_sigpipe_ignored ? SIG_IGN : SIG_DFL);
    dup2(e.fd, 2);
    // the program gets descriptors 1 and 2 and nothing else of the harness
    for (const int extra : {fd, o.fd, e.fd, pipe_in})
        if (extra > 2)
            close(extra);
    // lets a preloaded library (the test allocator) go ahead of a
    // sanitizer's runtime in a sanitized build
    env.emplace_back("ASAN_OPTIONS=verify_asan_link_order=0");
    for (std::string& v : env)
        putenv(v.data());
    for (std::string& w : wrapper())
        words.push_back(w);
    words.push_back(bin);
    std::vector<char*> argv;
    argv.reserve(words.size() + 1);
    for (std::string& w : words)
        argv.push_back(w.data());
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
}

// Runs bin with stdout on out, env added to the environment, unless 0 its
// address space limited to that many bytes.
result run(const std::string& bin, sink out, const std::vector<std::string>& env = {},
           rlim_t address_space = 0)
{
    result r{-1, "", ""};
    const temp_file o;
    const temp_file e;
    int pipe_fd[2];
    if (o.fd < 0 || e.fd < 0 || pipe(pipe_fd) != 0) {
        ADD_FAILURE() << "cannot set up the run: " << std::strerror(errno);
        return r;
    }
    if (out != sink::non_blocking)
        close(pipe_fd[0]);
    const pid_t pid = fork();
    if (pid == 0)
        exec(bin, out, o, e, pipe_fd[1], env, address_space);
    close(pipe_fd[1]);
    int st = 0;
    pid_t w = -1;
    if (pid > 0) {
        do
            w = waitpid(pid, &st, 0);
        while (w < 0 && errno == EINTR);
    }
    if (w != pid) {
        ADD_FAILURE() << "cannot run " << bin << ": " << std::strerror(errno);
        return r;
    }
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
    r.out = slurp(o.path);
    if (out == sink::non_blocking) {
        char buf[4096];
        for (ssize_t k; (k = read(pipe_fd[0], buf, sizeof buf)) > 0;)
            r.out.append(buf, static_cast<std::size_t>(k));
        close(pipe_fd[0]);
    }
    r.err = slurp(e.path);
    return r;
}

// Lines as the program starts them: the text before the first line feed
// (empty) and then the text after each line feed.
std::vector<std::string> lines(const std::string& s)
{
    std::vector<std::string> v;
    std::istringstream in(s);
    for (std::string l; std::getline(in, l);)
        v.push_back(l);
    return v;
}

// Single quotes for the shell, around any text.
std::string quoted(const std::string& s)
{
    std::string q = "'";
    for (const char ch : s)
        q += ch == '\'' ? std::string("'\\''") : std::string(1, ch);
    return q + "'";
}

// What a shell command prints on stdout; a failing command fails the test.
std::string output_of(const std::string& command)
{
    FILE* p = popen(command.c_str(), "r");
    if (p == nullptr) {
        ADD_FAILURE() << "cannot run " << command;
        return "";
    }
    std::string m;
    char buf[4096];
    for (std::size_t k; (k = std::fread(buf, 1, sizeof buf, p)) > 0;)
        m.append(buf, k);
    EXPECT_EQ(pclose(p), 0) << command;
    return m;
}

// The output through the mask that CI and the cross builds' checks use too:
// whole with the six peak heights made "#", or those heights alone.
std::string masked(const std::string& out, bool heights = false)
{
    const temp_file t;
    if (t.fd < 0 || write(t.fd, out.data(), out.size()) != static_cast<ssize_t>(out.size()))
        ADD_FAILURE() << "cannot write " << t.path;
    return output_of("awk -f " + quoted(TABLE_AWK) + " -f " + quoted(MASK_AWK) +
                     (heights ? " -v heights=1 " : " ") + quoted(t.path));
}

// The mask changes the six peak heights of a table and nothing else.
TEST(program, mask_changes_the_six_peak_heights_alone)
{
    for (const char* path : {EXPECTED_OUT, EXPECTED_CR_OUT}) {
        SCOPED_TRACE(path);
        const std::string out = slurp(path);
        const std::vector<std::string> a = lines(out);
        const std::vector<std::string> b = lines(masked(out));
        ASSERT_EQ(a.size(), b.size());
        int changed = 0;
        for (std::size_t k = 0; k < a.size(); ++k) {
            std::istringstream x(a[k]);
            std::istringstream y(b[k]);
            std::string u;
            std::string v;
            for (int field = 1; y >> v; ++field)
                if (!(x >> u) || u != v) {
                    EXPECT_TRUE(field == 2 && v == "#") << "line " << k << ": " << b[k];
                    ++changed;
                }
        }
        EXPECT_EQ(changed, 6);
        EXPECT_EQ(lines(masked(out, true)).size(), 6U);
    }
}

// Every byte but the peak heights, which belong to the math library, with
// either of glibc's variants of sin and cos; those rows must still show a
// peak.
TEST(program, matches_the_recorded_output_but_for_the_peak_heights)
{
    const std::vector<std::string> want = lines(masked(slurp(EXPECTED_OUT)));
    for (const std::vector<std::string>& env : {std::vector<std::string>{}, {no_fma}}) {
        SCOPED_TRACE(env.empty() ? "default" : env[0]);
        const result r = run(MEMSPEC_BIN, sink::file, env);
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.err, "");
        const std::vector<std::string> got = lines(masked(r.out));
        ASSERT_EQ(got.size(), want.size());
        for (std::size_t k = 0; k < got.size(); ++k)
            EXPECT_EQ(got[k], want[k]) << "line " << k;
        const std::vector<std::string> heights = lines(masked(r.out, true));
        ASSERT_EQ(heights.size(), 6U);
        for (const std::string& h : heights)
            EXPECT_GT(std::stod(h), 0.0);
    }
}

// The setting above must reach glibc, which ignores a misspelt tunable: the
// dynamic loader's own account of the CPU features glibc uses (FMA, bit 12
// of CPUID.1:ECX, and AVX2, bit 5 of CPUID.7:EBX) loses both with it.
TEST(program, glibc_tunable_turns_off_fma_and_avx2)
{
#if defined(__GLIBC__) && defined(__x86_64__)
    if (!__builtin_cpu_supports("fma") || !__builtin_cpu_supports("avx2"))
        GTEST_SKIP() << "no FMA here: glibc has one variant of sin and cos";
    const auto in_use = [](const std::string& env) {
        const std::string d = output_of(env + " /lib64/ld-linux-x86-64.so.2 --list-diagnostics");
        const auto word = [&d](const std::string& name) {
            const std::size_t at = d.find("\nx86.cpu_features.features" + name + "=");
            return at == std::string::npos ? 0UL
                                           : std::stoul(d.substr(d.find('=', at) + 1), nullptr, 16);
        };
        return std::make_pair((word("[0x0].active[0x2]") >> 12 & 1) != 0,
                              (word("[0x1].active[0x1]") >> 5 & 1) != 0);
    };
    EXPECT_EQ(in_use(""), std::make_pair(true, true));
    EXPECT_EQ(in_use(no_fma), std::make_pair(false, false));
#else
    GTEST_SKIP() << "not glibc on x86-64: nothing to switch";
#endif
}

#ifdef MEMSPEC_CR_BIN
// With correctly rounded sin and cos, every byte is fixed, the tone rows too.
TEST(program, correctly_rounded_build_prints_the_recorded_bytes)
{
    const std::string want = slurp(EXPECTED_CR_OUT);
    for (const std::vector<std::string>& env : {std::vector<std::string>{}, {no_fma}}) {
        const result r = run(MEMSPEC_CR_BIN, sink::file, env);
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out, want) << (env.empty() ? "default" : env[0]);
    }
}

// Every value of the run to the last bit, so that a change below the printed
// precision fails too.
TEST(program, correctly_rounded_values_match_the_recorded_bits)
{
    const result r = run(VALUES_BIN, sink::file);
    EXPECT_EQ(r.status, 0);
    const std::vector<std::string> got = lines(r.out);
    const std::vector<std::string> want = lines(slurp(EXPECTED_CR_VALUES));
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t k = 0; k < got.size(); ++k)
        EXPECT_EQ(got[k], want[k]);
}
#endif

// Output that cannot be delivered is never success: status 1 and the
// message, or death by the signal the caller left in place (SIGPIPE,
// SIGXFSZ) where any filter would die of it. A non-blocking stdout that is
// full is a failed write, as it is for the system's own tools. (A full
// device is the ctest cases full_output*.)
TEST(program, undelivered_output_is_a_failure)
{
    const struct {
        sink s;
        int status;
        const std::string& err;
    } cases[] = {
        {sink::size_limited, 1, write_failed},
        {sink::size_limited_sigxfsz, 128 + SIGXFSZ, ""},
        {sink::non_blocking, 1, write_failed},
        {sink::read_only, 1, write_failed},
        {sink::closed, 1, write_failed},
        {sink::no_reader, 128 + SIGPIPE, ""},
        {sink::no_reader_sigpipe_ignored, 1, write_failed},
    };
    const std::string full = run(MEMSPEC_BIN, sink::file).out;
    for (const auto& k : cases) {
        SCOPED_TRACE("sink " + std::to_string(static_cast<int>(k.s)));
        const result r = run(MEMSPEC_BIN, k.s);
        EXPECT_EQ(r.status, k.status);
        EXPECT_EQ(r.err, k.err);
        // what did get through is the output's beginning, as far as it went
        const std::size_t through = k.s == sink::non_blocking ? 4096 : size_limit;
        if (k.s == sink::size_limited || k.s == sink::size_limited_sigxfsz ||
            k.s == sink::non_blocking) {
            EXPECT_EQ(r.out.size(), through);
            EXPECT_EQ(r.out, full.substr(0, r.out.size()));
        }
    }
}

// The test allocator preloaded into bin alone, named through the library
// path: LD_PRELOAD splits at blanks, which a checkout's path may hold.
std::vector<std::string> with_failalloc(const std::string& bin, std::vector<std::string> env)
{
    env.push_back("FAILALLOC_PROGRAM=" + bin.substr(bin.rfind('/') + 1));
    const std::string lib = FAILALLOC_LIB;
    const std::size_t slash = lib.rfind('/');
    const char* path = std::getenv("LD_LIBRARY_PATH");
    env.push_back("LD_LIBRARY_PATH=" + lib.substr(0, slash) +
                  (path != nullptr && *path != '\0' ? std::string(":") + path : ""));
    env.push_back("LD_PRELOAD=" + lib.substr(slash + 1));
    return env;
}

// The test allocator refuses what it is told to, whichever entry point asks:
// a realloc it did not see would leave most of MPFR's requests unrefused.
TEST(program, test_allocator_refuses_each_entry_point)
{
    const struct {
        const char* size;
        const char* refused;
    } cases[] = {{"1", ""}, {"1001", " malloc"}, {"1002", " calloc"}, {"1003", " realloc"}};
    for (const auto& k : cases) {
        SCOPED_TRACE(k.size);
        const result r =
            run(FAILALLOC_PROBE, sink::file,
                with_failalloc(FAILALLOC_PROBE, {std::string("FAILALLOC_SIZE=") + k.size}));
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out, std::string(k.refused) + "\n");
    }
}

TEST(program, refused_work_storage_ends_with_the_message)
{
    const std::string series = std::to_string(sizeof(double) * (run_n_data + 1));
    const std::string filter = std::to_string(sizeof(double) * (run_max_order + 1));
    const std::vector<std::vector<std::string>> cases = {
        {"FAILALLOC_SIZE=" + series, "FAILALLOC_NTH=1"},
        {"FAILALLOC_SIZE=" + series, "FAILALLOC_NTH=2"},
        {"FAILALLOC_SIZE=" + filter, "FAILALLOC_NTH=1"},
    };
    for (const std::vector<std::string>& env : cases) {
        SCOPED_TRACE(env[0] + " " + env[1]);
        const result r = run(MEMSPEC_BIN, sink::file, with_failalloc(MEMSPEC_BIN, env));
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, alloc_failed);
    }
}

const struct {
    const char* name;
    const char* bin;
} builds[] = {
    {"default", MEMSPEC_BIN},
#ifdef MEMSPEC_CR_BIN
    {"correctly rounded", MEMSPEC_CR_BIN},
#endif
};

// s, k times over.
std::string times(const std::string& s, unsigned long k)
{
    std::string t;
    for (; k > 0; --k)
        t += s;
    return t;
}

// What a refusal sweep found: the requests the run made, how the children
// that refused them ended, and each way the sweep failed.
struct sweep {
    unsigned long requests = 0;
    unsigned long whole = 0;   // children that ended with status 0
    unsigned long refused = 0; // and with status 1
    std::vector<std::string> faults;
};

// Heap requests of a run of bin refused in turn (all, or those pick names:
// the test allocator's FAILALLOC_PICK), each in a child of its own that
// shares the run's stdout and stderr, where each line is asked for at once.
// A sound run writes nothing to stdout before any refusal, and its children
// leave there the whole output full once for each that ended with status 0,
// the message once for each that ended with status 1, and nothing else.
sweep refuse_each(const std::string& bin, const std::string& full, const std::string& pick,
                  std::vector<std::string> env = {})
{
    sweep s;
    const temp_file report;
    env.push_back("FAILALLOC_EACH=" + report.path);
    if (!pick.empty())
        env.push_back("FAILALLOC_PICK=" + pick);
    const result r = run(bin, sink::line_buffered, with_failalloc(bin, env));
    if (r.status != 0)
        s.faults.push_back("the run ended with status " + std::to_string(r.status));
    long long held = -2;
    std::istringstream in(slurp(report.path));
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string how;
        long long a = -1;
        unsigned long k = 0;
        if (!(words >> how >> a))
            s.faults.push_back("a report line unread: " + line);
        else if (how == "stdout")
            held = a;
        else if (how == "requests")
            s.requests = static_cast<unsigned long>(a);
        else if (how == "exit" && (a == 0 || a == 1) && words >> k)
            (a == 0 ? s.whole : s.refused) += k;
        else
            s.faults.push_back("children ended otherwise: " + line);
    }
    if (held != 0)
        s.faults.push_back(std::to_string(held) + " bytes on stdout at a refusal");
    if (r.out != times(full, 1 + s.whole))
        s.faults.push_back(std::to_string(r.out.size()) + " bytes on stdout at the end");
    if (r.err != times(alloc_failed, s.refused))
        s.faults.push_back("stderr: " + r.err.substr(0, 100));
    return s;
}

// Every heap request of every build refused, each in turn, with
// MEMSPEC_EVERY_REQUEST set (CI's exhaustive preset); otherwise every request
// of the default build, and of the correctly rounded one's some 116,000 its
// first and last 64 and about a thousand evenly between, which reach every
// place the run asks from.
TEST(program, every_refused_request_ends_cleanly)
{
    const bool every = std::getenv("MEMSPEC_EVERY_REQUEST") != nullptr;
    for (const auto& b : builds) {
        SCOPED_TRACE(b.name);
        // beneath valgrind MPFR's 116,000 requests would take hours
        if (b.bin != std::string(MEMSPEC_BIN) && !wrapper().empty()) {
            std::printf("%s: not beneath a wrapper; skipped\n", b.name);
            continue;
        }
        const std::string full = run(b.bin, sink::file).out;
        const unsigned long n = refuse_each(b.bin, full, "0:0:0:0").requests;
        const bool all = every || n <= 1000;
        const std::string pick =
            all ? "" : "64:" + std::to_string(n / 1000) + ":64:" + std::to_string(n);
        const sweep s = refuse_each(b.bin, full, pick);
        for (const std::string& f : s.faults)
            ADD_FAILURE() << f;
        EXPECT_EQ(s.requests, n);
        EXPECT_GT(s.refused, 0U) << "no refusal reached the program";
        if (all) {
            EXPECT_EQ(s.whole + s.refused, n) << "a request was not refused";
        }
        std::printf("%s: %lu of %lu requests refused, %lu of them ending with the message\n",
                    b.name, s.whole + s.refused, n, s.refused);
    }
}

// The sweep fails a program that dies of a signal at a refusal, and one that
// has written to stdout before it.
TEST(program, refusal_sweep_sees_a_crash_and_early_output)
{
    const struct {
        const char* fault;
        const char* seen;
    } cases[] = {{"signal", "children ended otherwise: signal 6 "},
                 {"early", "6 bytes on stdout at a refusal"}};
    for (const auto& k : cases) {
        SCOPED_TRACE(k.fault);
        const std::vector<std::string> env = {std::string("PROBE_FAULT=") + k.fault};
        const std::string full = run(FAILALLOC_PROBE, sink::file, env).out;
        const sweep s = refuse_each(FAILALLOC_PROBE, full, "", env);
        const auto seen = [&k](const std::string& f) {
            return f.rfind(k.seen, 0) == 0;
        };
        EXPECT_TRUE(std::any_of(s.faults.begin(), s.faults.end(), seen))
            << testing::PrintToString(s.faults);
    }
}

#if !defined(__SANITIZE_ADDRESS__)
// Exhausted memory ends a run in one of two ways only: the whole output and
// status 0, or the message, status 1 and nothing on stdout. Never a signal.
void expect_whole_or_refused(const result& r, const std::string& full)
{
    if (r.status == 0) {
        EXPECT_EQ(r.err, "");
        EXPECT_TRUE(r.out == full) << "output differs";
        return;
    }
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, alloc_failed);
    EXPECT_EQ(r.out, "");
}
#endif

// An address space too small for the heap: the program's own refusal is
// reached in a band of limits between the dynamic loader's failure (status
// 127, its own message, before the program starts) and the whole run. The
// band sits where this machine's libraries put it, so it is found, not
// assumed: the smallest limit that gives the whole output, then down from
// there in 4 KB steps to the loader's failure.
TEST(program, small_address_space_ends_with_the_message)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's runtime reserves far more address space";
#else
    if (!wrapper().empty())
        GTEST_SKIP() << "the limit would bind the wrapper, not the program";
    const rlim_t kb = 1024;
    for (const auto& b : builds) {
        SCOPED_TRACE(b.name);
        const std::string full = run(b.bin, sink::file).out;
        rlim_t lo = kb * 1024; // fails
        rlim_t hi = kb * 1024 * 1024;
        ASSERT_NE(run(b.bin, sink::file, {}, lo).status, 0);
        ASSERT_EQ(run(b.bin, sink::file, {}, hi).status, 0);
        while (hi - lo > 4 * kb) {
            const rlim_t mid = lo + (hi - lo) / 2 / (4 * kb) * (4 * kb);
            (run(b.bin, sink::file, {}, mid).status == 0 ? hi : lo) = mid;
        }
        int refused = 0;
        for (rlim_t as = hi + 64 * kb; as >= hi - 512 * kb; as -= 4 * kb) {
            SCOPED_TRACE(std::to_string(as / kb) + " KB");
            const result r = run(b.bin, sink::file, {}, as);
            if (r.status == 127 && r.out.empty() && !r.err.empty() && r.err != alloc_failed)
                break;
            expect_whole_or_refused(r, full);
            refused += r.status == 1 ? 1 : 0;
        }
        EXPECT_GT(refused, 0) << "no limit below " << hi / kb << " KB reached the program";
    }
#endif
}

} // namespace
