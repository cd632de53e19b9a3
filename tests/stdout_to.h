// Shared by the tests and the benchmark: burg and mem_1 print progress lines
// to stdout, which these callers send elsewhere while they run.

#ifndef MEMSPEC_TESTS_STDOUT_TO_H
#define MEMSPEC_TESTS_STDOUT_TO_H

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// Sends stdout to the file at path for the life of the object: /dev/null
// (opened, never created) or a file of the caller's (created or emptied). If
// that cannot be done, or a line cannot be written there, it says why on
// stderr and ends the process with status 1: progress lines must never mix
// with what the caller reports on the real stdout.
class stdout_to {
public:
    explicit stdout_to(const char* path = "/dev/null") : path_(path)
    {
        std::fflush(stdout);
        saved_ = dup(1);
        if (saved_ < 0)
            fail("cannot keep standard output", "");
        const bool null = std::strcmp(path, "/dev/null") == 0;
        const int fd = open(path, null ? O_WRONLY : O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (fd < 0 || dup2(fd, 1) < 0)
            fail("cannot send standard output to ", path_);
        close(fd);
    }
    ~stdout_to()
    {
        if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0)
            fail("cannot write to ", path_);
        if (dup2(saved_, 1) < 0)
            fail("cannot take standard output back from ", path_);
        close(saved_);
    }
    stdout_to(const stdout_to&) = delete;
    stdout_to& operator=(const stdout_to&) = delete;

private:
    [[noreturn]] static void fail(const char* what, const char* path)
    {
        std::fprintf(stderr, "stdout_to: %s%s: %s\n", what, path, std::strerror(errno));
        std::_Exit(1);
    }

    const char* path_;
    int saved_ = -1;
};

#endif
