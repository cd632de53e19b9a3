#include <cstdio>
#include <cstdlib>

#include "support/nomem.h"

void no_memory()
{
    std::fputs("\x83\x81\x83\x82\x83\x8A\x8A\x84\x82\xE8\x93\x96\x82\xC4\x82\xC9"
               "\x8E\xB8\x94\x73\x82\xB5\x82\xDC\x82\xB5\x82\xBD\x81\x42\n",
               stderr);
    std::fflush(stderr);
    std::_Exit(1);
}
