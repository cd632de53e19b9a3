#ifndef MEMSPEC_TESTS_TEMP_FILE_H
#define MEMSPEC_TESTS_TEMP_FILE_H

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

// A file in the test's temporary directory, removed with the object; fd is
// negative if it could not be made.
struct temp_file {
    std::string path = testing::TempDir() + "memspec_XXXXXX";
    int fd = mkstemp(path.data());
    temp_file() = default;
    temp_file(const temp_file&) = delete;
    temp_file& operator=(const temp_file&) = delete;
    ~temp_file()
    {
        if (fd >= 0) {
            close(fd);
            unlink(path.c_str());
        }
    }
};

// A full device of the test's own, made like /dev/full (1, 7) in a private
// directory and removed with the object: tests never aim a program at the
// machine's devices. path is empty where this user may not make one.
struct full_device {
    std::string dir = testing::TempDir() + "memspec_dev_XXXXXX";
    std::string path;
    full_device()
    {
        if (mkdtemp(dir.data()) == nullptr)
            return;
        const std::string p = dir + "/full";
        if (mknod(p.c_str(), S_IFCHR | 0666, makedev(1, 7)) == 0)
            path = p;
    }
    full_device(const full_device&) = delete;
    full_device& operator=(const full_device&) = delete;
    ~full_device()
    {
        if (!path.empty())
            unlink(path.c_str());
        rmdir(dir.c_str());
    }
};

// The whole content of the file at path.
inline std::string slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

#endif
