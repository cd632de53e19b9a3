#ifndef MEMSPEC_TESTS_STDOUT_TO_H
#define MEMSPEC_TESTS_STDOUT_TO_H

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

// Sends stdout, where burg and mem_1 print their progress lines, to the file
// at path for the life of the object.
class stdout_to {
public:
    explicit stdout_to(const char* path = "/dev/null") : saved_(dup(1))
    {
        std::fflush(stdout);
        const int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(fd, 1);
        close(fd);
    }
    ~stdout_to()
    {
        std::fflush(stdout);
        dup2(saved_, 1);
        close(saved_);
    }
    stdout_to(const stdout_to&) = delete;
    stdout_to& operator=(const stdout_to&) = delete;

private:
    int saved_;
};

// The whole content of the file at path, such as output captured above.
inline std::string slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

#endif
