// The one failure the analysis detects: the heap refusing work storage.

#ifndef MEMSPEC_NOMEM_H
#define MEMSPEC_NOMEM_H

// no_memory: writes "memory allocation failed" in Shift_JIS, and a line feed,
// to stderr and ends the process with status 1. What stdout has buffered is
// flushed by the exit: the progress lines printed so far.
[[noreturn]] void no_memory();

#endif
