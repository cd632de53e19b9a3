// The failures the analysis detects: the heap refusing work storage, and a
// correctly rounded sine or cosine whose rounding cannot be proven.

#ifndef MEMSPEC_NOMEM_H
#define MEMSPEC_NOMEM_H

// no_memory: writes "memory allocation failed" in Shift_JIS, and a line feed,
// to stderr and ends the process with status 1 at once, without flushing
// stdout: main holds the whole output in its buffer until the table is done,
// so nothing of the run reaches stdout.
[[noreturn]] void no_memory();

// no_rounding: the same, with "correct rounding failed": a binary128 sine or
// cosine lay too near a midpoint between two doubles to be rounded once with
// certainty (trig/quad.h).
[[noreturn]] void no_rounding();

#endif
