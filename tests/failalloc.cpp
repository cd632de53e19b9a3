// Preloaded into a process by the tests: refuses the FAILALLOC_NTH-th
// malloc or calloc request of exactly FAILALLOC_SIZE bytes (the first, by
// default) and hands every other request to the next allocator in line, so
// that it also works beneath a sanitizer or valgrind.

#include <dlfcn.h>

#include <cstddef>
#include <cstdlib>

namespace {

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

bool refuse(std::size_t size)
{
    return fail_size != 0 && size == fail_size && ++seen == fail_nth;
}

template <typename F>
F next(F& fn, const char* name)
{
    if (fn == nullptr)
        fn = reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
    return fn;
}

void* (*next_malloc)(std::size_t);
void* (*next_calloc)(std::size_t, std::size_t);

} // namespace

extern "C" void* malloc(std::size_t size) noexcept
{
    return refuse(size) ? nullptr : next(next_malloc, "malloc")(size);
}

extern "C" void* calloc(std::size_t n, std::size_t size) noexcept
{
    return refuse(n * size) ? nullptr : next(next_calloc, "calloc")(n, size);
}
