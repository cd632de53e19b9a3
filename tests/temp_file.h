#ifndef MEMSPEC_TESTS_TEMP_FILE_H
#define MEMSPEC_TESTS_TEMP_FILE_H

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

// A file in the test's temporary directory, removed with the object; fd is
// negative and path empty if it could not be made, so that nothing opens
// the template's own name in its place.
struct temp_file {
    std::string path = testing::TempDir() + "memspec_XXXXXX";
    int fd = mkstemp(path.data());
    temp_file()
    {
        if (fd < 0)
            path.clear();
    }
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

// The whole content of the file at path.
inline std::string slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

#endif
