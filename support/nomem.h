// The one failure the analysis detects: the heap refusing work storage.

#ifndef MEMSPEC_NOMEM_H
#define MEMSPEC_NOMEM_H

// no_memory: writes "memory allocation failed" in Shift_JIS, and a line feed,
// to stderr and ends the process with status 1 at once, without flushing
// stdout: main holds the whole output in its buffer until the table is done,
// so nothing of the run reaches stdout.
[[noreturn]] void no_memory();

#endif
