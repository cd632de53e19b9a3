# 32-bit Arm with software floating point (Debian armel: crossbuild-essential-
# armel, qemu-user, libmpfr-dev:armel): every addition, product and quotient
# of double is a call into libgcc, which rounds it as IEEE 754 does.
#   cmake --workflow --preset armel && qemu-arm build-armel/memspec
set(memspec_processor arm)
set(memspec_triple arm-linux-gnueabi)
set(memspec_qemu qemu-arm)
include(${CMAKE_CURRENT_LIST_DIR}/cross.cmake)
