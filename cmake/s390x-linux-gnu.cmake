# 64-bit IBM Z, big-endian (Debian: crossbuild-essential-s390x, qemu-user,
# libmpfr-dev:s390x).
#   cmake --workflow --preset s390x && qemu-s390x build-s390x/memspec
set(memspec_processor s390x)
set(memspec_triple s390x-linux-gnu)
set(memspec_qemu qemu-s390x)
include(${CMAKE_CURRENT_LIST_DIR}/cross.cmake)
