# WebAssembly System Interface: a program is one .wasm module, run by a
# runtime such as node's WASI.
set(WASI 1)
set(CMAKE_EXECUTABLE_SUFFIX .wasm)
