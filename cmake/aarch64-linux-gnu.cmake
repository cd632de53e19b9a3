# 64-bit Arm (Debian: crossbuild-essential-arm64, qemu-user, libmpfr-dev:arm64).
#   cmake -S . -B build-arm64 -DCMAKE_TOOLCHAIN_FILE=cmake/aarch64-linux-gnu.cmake
#   qemu-aarch64 build-arm64/memspec
set(memspec_processor aarch64)
set(memspec_triple aarch64-linux-gnu)
set(memspec_qemu qemu-aarch64)
include(${CMAKE_CURRENT_LIST_DIR}/cross.cmake)
