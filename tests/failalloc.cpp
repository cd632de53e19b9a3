// Preloaded into a process by the tests: refuses the FAILALLOC_NTH-th
// malloc request of exactly FAILALLOC_SIZE bytes (the first, by default)
// and hands every other request to the next malloc in line, so that it also
// works beneath a sanitizer or valgrind.

#include <dlfcn.h>

#include <cstddef>
#include <cstdlib>

namespace {

using malloc_fn = void* (*)(std::size_t);

malloc_fn next_malloc;
std::size_t fail_size; // 0: refuse nothing
unsigned long fail_nth;
unsigned long seen;

// A sanitizer's runtime allocates before the environment can be read, so the
// settings are read here, after libc is up and before main.
__attribute__((constructor)) void read_settings()
{
    const char* size = std::getenv("FAILALLOC_SIZE");
    const char* nth = std::getenv("FAILALLOC_NTH");
    fail_nth = nth != nullptr ? std::strtoul(nth, nullptr, 10) : 1;
    fail_size = size != nullptr ? std::strtoul(size, nullptr, 10) : 0;
}

} // namespace

extern "C" void* malloc(std::size_t size) noexcept
{
    if (next_malloc == nullptr)
        next_malloc = reinterpret_cast<malloc_fn>(dlsym(RTLD_NEXT, "malloc"));
    if (fail_size != 0 && size == fail_size && ++seen == fail_nth)
        return nullptr;
    return next_malloc(size);
}
