// The program as a user runs it: its bytes, its exit status, its failures.

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "driver/driver.h"
#include "tests/stdout_to.h"

namespace {

const std::string alloc_failed = "\x83\x81\x83\x82\x83\x8A\x8A\x84\x82\xE8\x93\x96\x82\xC4\x82\xC9"
                                 "\x8E\xB8\x94\x73\x82\xB5\x82\xDC\x82\xB5\x82\xBD\x81\x42\n";
const std::string write_failed = "\x8F\x6F\x97\xCD\x82\xCC\x8F\x91\x82\xAB\x8D\x9E\x82\xDD\x82\xC9"
                                 "\x8E\xB8\x94\x73\x82\xB5\x82\xDC\x82\xB5\x82\xBD\x81\x42\n";

// Rows whose spectrum hangs on the last bit of sin and cos: the tones at 4,
// 64 and 65 and their images about 120.
const std::vector<int> tone_rows = {4, 64, 65, 175, 176, 236};

enum class sink { file, dev_full, closed, no_reader };

struct result {
    int status; // exit status, or 128 + signal
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

result run(sink out, std::vector<std::string> env = {})
{
    char out_path[] = "/tmp/memspec_outXXXXXX";
    char err_path[] = "/tmp/memspec_errXXXXXX";
    const int out_fd = mkstemp(out_path);
    const int err_fd = mkstemp(err_path);
    int pipe_fd[2] = {-1, -1};
    EXPECT_TRUE(out_fd >= 0 && err_fd >= 0 && pipe(pipe_fd) == 0);
    close(pipe_fd[0]);
    const pid_t pid = fork();
    if (pid == 0) {
        if (out == sink::file)
            dup2(out_fd, 1);
        else if (out == sink::dev_full)
            dup2(open("/dev/full", O_WRONLY), 1);
        else if (out == sink::closed)
            close(1);
        else
            dup2(pipe_fd[1], 1);
        signal(SIGPIPE, SIG_DFL);
        dup2(err_fd, 2);
        for (std::string& e : env)
            putenv(e.data());
        std::vector<std::string> words = wrapper();
        words.emplace_back(MEMSPEC_BIN);
        std::vector<char*> argv;
        argv.reserve(words.size() + 1);
        for (std::string& w : words)
            argv.push_back(w.data());
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    close(pipe_fd[1]);
    int st = 0;
    waitpid(pid, &st, 0);
    result r{WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st), slurp(out_path),
             slurp(err_path)};
    close(out_fd);
    close(err_fd);
    unlink(out_path);
    unlink(err_path);
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

std::vector<double> fields(const std::string& row)
{
    std::istringstream in(row);
    std::vector<double> v;
    for (double d = 0; in >> d;)
        v.push_back(d);
    return v;
}

TEST(program, prints_the_table_with_its_check_values)
{
    const result r = run(sink::file);
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    ASSERT_EQ(r.out.back(), '\n');
    const std::vector<std::string> l = lines(r.out);
    ASSERT_EQ(l.size(), 522U);
    EXPECT_EQ(l[0], "");
    EXPECT_EQ(l[1], " M=   1 ");
    EXPECT_EQ(l[38], " M=  38 ");
    EXPECT_EQ(l[39], "  freq=  0.00");
    EXPECT_EQ(l[279], "  freq=240.00");
    EXPECT_EQ(l[280], " frec        spc         fpe     auto c.");

    const double fpe[] = {2.008, 2.018, 2.035, 1.987, 0.196};
    const double c[] = {1.992, -0.116, 0.022, 0.349, 1.785};
    for (int i = 1; i <= run_n_data; ++i) {
        SCOPED_TRACE("row " + std::to_string(i));
        const std::vector<double> v = fields(l[280 + static_cast<std::size_t>(i)]);
        ASSERT_EQ(v.size(), i <= 39 ? 4U : i <= 50 ? 3U : 2U);
        EXPECT_EQ(v[0], i - 1);
        bool tone = false;
        for (int t : tone_rows)
            tone = tone || t == i - 1;
        if (tone) {
            EXPECT_GT(v[1], 0.0);
        } else {
            EXPECT_EQ(v[1], 0.0);
        }
        if (i <= 5) {
            EXPECT_EQ(v[2], fpe[i - 1]);
            EXPECT_EQ(v[3], c[i - 1]);
        }
        if (i >= 9 && i <= 39) {
            EXPECT_EQ(v[2], 0.0);
        }
    }
}

// Every byte but the tone rows' spectrum digits, which vary with the math library.
TEST(program, matches_the_recorded_output)
{
    std::vector<std::string> got = lines(run(sink::file).out);
    std::vector<std::string> want = lines(slurp(EXPECTED_OUT));
    ASSERT_EQ(got.size(), want.size());
    for (int t : tone_rows) {
        const std::size_t k = 281 + static_cast<std::size_t>(t);
        got[k].replace(6, 11, 11, '#');
        want[k].replace(6, 11, 11, '#');
    }
    for (std::size_t k = 0; k < got.size(); ++k)
        EXPECT_EQ(got[k], want[k]) << "line " << k;
}

TEST(program, unwritable_output_is_a_failure)
{
    for (sink s : {sink::dev_full, sink::closed}) {
        const result r = run(s);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, write_failed);
    }
}

// A reader that has gone ends the program by SIGPIPE, as for any filter.
TEST(program, reader_gone_is_not_success)
{
    EXPECT_EQ(run(sink::no_reader).status, 128 + SIGPIPE);
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
    for (std::vector<std::string> env : cases) {
        SCOPED_TRACE(env[0] + " " + env[1]);
        env.push_back(std::string("LD_PRELOAD=") + FAILALLOC_LIB);
        // lets the allocator go ahead of a sanitizer's runtime in a sanitized build
        env.push_back("ASAN_OPTIONS=verify_asan_link_order=0");
        const result r = run(sink::file, env);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, alloc_failed);
    }
}

} // namespace
