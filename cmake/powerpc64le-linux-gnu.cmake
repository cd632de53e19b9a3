# 64-bit little-endian POWER (Debian: crossbuild-essential-ppc64el, qemu-user,
# libmpfr-dev:ppc64el).
#   cmake --workflow --preset ppc64el && qemu-ppc64le build-ppc64el/memspec
set(memspec_processor ppc64le)
set(memspec_triple powerpc64le-linux-gnu)
set(memspec_qemu qemu-ppc64le)
include(${CMAKE_CURRENT_LIST_DIR}/cross.cmake)
