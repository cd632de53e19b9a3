# 64-bit Arm (Debian: crossbuild-essential-arm64, qemu-user, libmpfr-dev:arm64).
#   cmake --workflow --preset arm64 && qemu-aarch64 build-arm64/memspec
set(memspec_processor aarch64)
set(memspec_triple aarch64-linux-gnu)
set(memspec_qemu qemu-aarch64)
include(${CMAKE_CURRENT_LIST_DIR}/cross.cmake)
