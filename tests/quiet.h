#ifndef MEMSPEC_TESTS_QUIET_H
#define MEMSPEC_TESTS_QUIET_H

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

// Sends the progress lines of burg and mem_1 to /dev/null for the life of
// the object.
class quiet {
public:
    quiet() : saved_(dup(1))
    {
        std::fflush(stdout);
        const int fd = open("/dev/null", O_WRONLY);
        dup2(fd, 1);
        close(fd);
    }
    ~quiet()
    {
        std::fflush(stdout);
        dup2(saved_, 1);
        close(saved_);
    }
    quiet(const quiet&) = delete;
    quiet& operator=(const quiet&) = delete;

private:
    int saved_;
};

#endif
