# 32-bit Arm with VFP floating point (Debian armhf: crossbuild-essential-armhf,
# qemu-user, libmpfr-dev:armhf). GCC's vmla.f64 and vmls.f64 round the
# product before they add it: no contraction, the two operations as written.
#   cmake --workflow --preset armhf && qemu-arm build-armhf/memspec
set(memspec_processor arm)
set(memspec_triple arm-linux-gnueabihf)
set(memspec_qemu qemu-arm)
include(${CMAKE_CURRENT_LIST_DIR}/cross.cmake)
