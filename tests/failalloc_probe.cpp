// Asks the heap once through each entry point, each for a size of its own, and
// prints which requests were refused: the test allocator's own check that it
// sees malloc, calloc and realloc alike.

#include <cstdio>
#include <cstdlib>

int main()
{
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
