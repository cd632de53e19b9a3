// Asks the heap once through each entry point, each for a size of its own, and
// prints which requests were refused: the test allocator's own check that it
// sees malloc, calloc and realloc alike. With PROBE_FAULT it is instead a
// program that fails a refusal sweep: "signal", killed by SIGABRT when its
// request is refused; "early", it writes to stdout before its request.

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main()
{
    if (const char* fault = std::getenv("PROBE_FAULT")) {
        if (std::strcmp(fault, "early") == 0 && std::fputs("early\n", stdout) >= 0)
            std::fflush(stdout);
        void* p = std::malloc(1001);
        if (p == nullptr && std::strcmp(fault, "signal") == 0)
            std::abort();
        std::free(p);
        return p == nullptr ? 1 : 0;
    }
    void* m = std::malloc(1001);
    void* c = std::calloc(1, 1002);
    void* p = std::malloc(16);
    void* r = std::realloc(p, 1003);
    std::printf("%s%s%s\n", m == nullptr ? " malloc" : "", c == nullptr ? " calloc" : "",
                r == nullptr ? " realloc" : "");
    std::free(m);
    std::free(c);
    std::free(r != nullptr ? r : p);
    return 0;
}
