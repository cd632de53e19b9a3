# WebAssembly (WASI preview 1) with Debian's clang and wasi-libc (Debian:
# clang, lld, wasi-libc, libc++-dev-wasm32, libclang-rt-dev-wasm32, nodejs),
# run under node's WASI. The math library is wasi-libc's (musl's); there is
# no MPFR for wasm32, so the correctly rounded build (wasm32-cr) takes the
# binary128 sine and cosine of long double, which is binary128 here.
#   cmake --workflow --preset wasm32-cr && node tools/wasi-run.mjs build-wasm32-cr/memspec.wasm
set(CMAKE_SYSTEM_NAME WASI)
set(CMAKE_SYSTEM_PROCESSOR wasm32)
list(APPEND CMAKE_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR}/modules)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_CXX_COMPILER_TARGET wasm32-wasi)
# WebAssembly has no exceptions here, and the program throws none
set(CMAKE_CXX_FLAGS_INIT -fno-exceptions)
cmake_path(SET memspec_runner NORMALIZE "${CMAKE_CURRENT_LIST_DIR}/../tools/wasi-run.mjs")
set(CMAKE_CROSSCOMPILING_EMULATOR node ${memspec_runner})

# Libraries and headers of wasi-libc's sysroot only: the host's MPFR is not
# for this target.
set(CMAKE_FIND_ROOT_PATH /usr/lib/wasm32-wasi /usr/include/wasm32-wasi)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
