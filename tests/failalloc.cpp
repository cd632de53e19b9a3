// Preloaded into a process by the tests to refuse heap requests:
//   FAILALLOC_SIZE=s        the FAILALLOC_NTH-th request (the first by
//                           default) of exactly s bytes
//   FAILALLOC_EACH=path     every request in turn, each in a child forked
//                           as it is made, while the run itself goes on
//                           unrefused; the children share its stdout and
//                           stderr, and it waits for each. At exit, path
//                           gets a line for each way the children ended,
//                           "exit STATUS COUNT" or "signal NUMBER COUNT";
//                           "requests N", those the run made; and "stdout
//                           BYTES": the most the run itself had written to
//                           stdout, a file, when a request was refused (what
//                           the children wrote not counted), or -1 where
//                           that cannot be read
//   FAILALLOC_PICK=f:s:l:n  with FAILALLOC_EACH, only request k (from 1) of
//                           a run of n: k <= f, k a multiple of s (s > 0),
//                           or k > n - l; 0:0:0:0 refuses none and counts
//   FAILALLOC_PROGRAM=name  only in the program of that name, not in a
//                           wrapper (valgrind, a shell) that starts it
// A request is a malloc, calloc or realloc. Every other request goes to the
// next allocator in line, the one that also frees it, so that this works
// beneath a sanitizer or valgrind.

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

std::size_t fail_size; // 0: none
unsigned long fail_nth;
unsigned long seen_of_size;
const char* each_path; // nullptr: not each
bool in_child;
bool forking;
unsigned long ended[256 + 65]; // children by exit status, then by signal
off_t written;                 // the most the run had written at a refusal
off_t base;                    // stdout's offset when the last child ended
unsigned long requests;        // made by the run
unsigned long pick[4];         // FAILALLOC_PICK's f, s, l and n
bool picking;

// A sanitizer's runtime allocates before the environment can be read, so the
// settings are read here, after libc is up and before main; requests made
// earlier are neither counted nor refused.
__attribute__((constructor)) void read_settings()
{
    const char* size = std::getenv("FAILALLOC_SIZE");
    const char* nth = std::getenv("FAILALLOC_NTH");
    fail_size = size != nullptr ? std::strtoul(size, nullptr, 10) : 0;
    fail_nth = nth != nullptr ? std::strtoul(nth, nullptr, 10) : 1;
    each_path = std::getenv("FAILALLOC_EACH");
    const char* p = std::getenv("FAILALLOC_PICK");
    picking = p != nullptr;
    for (unsigned long& v : pick) {
        char* end = nullptr;
        v = picking ? std::strtoul(p, &end, 10) : 0;
        p = picking && *end == ':' ? end + 1 : end;
    }
    base = lseek(1, 0, SEEK_CUR);
    const char* only = std::getenv("FAILALLOC_PROGRAM");
    if (only != nullptr && std::strcmp(only, program_invocation_short_name) != 0) {
        fail_size = 0;
        each_path = nullptr;
    }
}

__attribute__((destructor)) void write_report()
{
    if (each_path == nullptr || in_child)
        return;
    const int fd = open(each_path, O_WRONLY | O_CREAT | O_TRUNC, 0600);
    bool ok = fd >= 0;
    for (std::size_t st = 0; ok && st < sizeof ended / sizeof ended[0]; ++st) {
        char line[64];
        const int len = std::snprintf(line, sizeof line, "%s %zu %lu\n",
                                      st < 256 ? "exit" : "signal", st % 256, ended[st]);
        ok = ended[st] == 0 || write(fd, line, static_cast<std::size_t>(len)) == len;
    }
    char line[64];
    const int len = std::snprintf(line, sizeof line, "requests %lu\nstdout %lld\n", requests,
                                  static_cast<long long>(written));
    if (!ok || write(fd, line, static_cast<std::size_t>(len)) != len || close(fd) != 0)
        std::_Exit(125);
}

// In a child forked here, true: this request is the one it refuses. In the
// run itself, once that child has ended, false.
bool refused_in_child()
{
    // -1 for good once stdout is no file whose offset can be read
    const off_t at = lseek(1, 0, SEEK_CUR);
    written = at < 0 || base < 0 || written < 0 ? -1 : std::max(written, at - base);
    forking = true;
    const pid_t pid = fork();
    forking = false;
    if (pid == 0) {
        in_child = true;
        return true;
    }
    int st = 0;
    pid_t w = -1;
    do
        w = pid > 0 ? waitpid(pid, &st, 0) : -1;
    while (w < 0 && errno == EINTR);
    if (w != pid)
        std::_Exit(125);
    ++ended[WIFEXITED(st) ? WEXITSTATUS(st) : 256 + WTERMSIG(st)];
    base = lseek(1, 0, SEEK_CUR);
    return false;
}

bool picked(unsigned long k)
{
    const unsigned long f = pick[0], s = pick[1], l = pick[2], n = pick[3];
    return !picking || k <= f || (s > 0 && k % s == 0) || (k <= n && k + l > n);
}

bool refuse(std::size_t size)
{
    if (in_child || forking)
        return false;
    if (each_path != nullptr)
        return picked(++requests) && refused_in_child();
    return fail_size != 0 && size == fail_size && ++seen_of_size == fail_nth;
}

// dlsym may itself allocate (glibc before 2.34 does); those requests are
// served from here while the next allocator is being looked up, never freed.
alignas(std::max_align_t) unsigned char arena[4096];
std::size_t arena_used;
bool resolving;

void* from_arena(std::size_t k)
{
    const std::size_t a = alignof(std::max_align_t);
    k = (k + a - 1) / a * a;
    if (k > sizeof arena - arena_used)
        return nullptr;
    void* p = arena + arena_used;
    arena_used += k;
    return p;
}

bool in_arena(const void* p)
{
    const auto* b = static_cast<const unsigned char*>(p);
    return b >= arena && b < arena + sizeof arena;
}

template <typename F>
F next(F& fn, const char* name)
{
    if (fn == nullptr) {
        resolving = true;
        fn = reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
        resolving = false;
    }
    return fn;
}

void* (*next_malloc)(std::size_t);
void* (*next_calloc)(std::size_t, std::size_t);
void* (*next_realloc)(void*, std::size_t);
void (*next_free)(void*);

} // namespace

extern "C" void* malloc(std::size_t size) noexcept
{
    if (resolving)
        return from_arena(size);
    return refuse(size) ? nullptr : next(next_malloc, "malloc")(size);
}

extern "C" void* calloc(std::size_t n, std::size_t size) noexcept
{
    std::size_t total = 0;
    if (__builtin_mul_overflow(n, size, &total))
        total = 0;
    if (resolving)
        return from_arena(total); // zero, as static storage is never reused
    return refuse(total) ? nullptr : next(next_calloc, "calloc")(n, size);
}

extern "C" void* realloc(void* p, std::size_t size) noexcept
{
    if (resolving)
        return from_arena(size);
    if (refuse(size))
        return nullptr;
    if (in_arena(p)) {
        void* q = next(next_malloc, "malloc")(size);
        const auto left =
            static_cast<std::size_t>(arena + sizeof arena - static_cast<unsigned char*>(p));
        if (q != nullptr)
            std::memcpy(q, p, size < left ? size : left);
        return q;
    }
    return next(next_realloc, "realloc")(p, size);
}

extern "C" void free(void* p) noexcept
{
    // what the lookup hands back is leaked rather than looked up again
    if (p != nullptr && !in_arena(p) && !resolving)
        next(next_free, "free")(p);
}
