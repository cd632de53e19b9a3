# 32-bit x86 (Debian: crossbuild-essential-i386, qemu-user, libmpfr-dev:i386),
# run under qemu-user, as a 64-bit kernel need not run 32-bit programs.
# Arithmetic in SSE2 registers: the x87 unit's wider intermediates are what
# the FLT_EVAL_METHOD check refuses.
#   cmake --workflow --preset i386 && qemu-i386 build-i386/memspec
set(memspec_processor i686)
set(memspec_triple i686-linux-gnu)
set(memspec_multiarch i386-linux-gnu)
set(memspec_qemu qemu-i386)
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
include(${CMAKE_CURRENT_LIST_DIR}/cross.cmake)
