# 32-bit little-endian MIPS (Debian mipsel: crossbuild-essential-mipsel,
# qemu-user, libmpfr-dev:mipsel). Its multiply-add instructions are kept out
# by -ffp-contract=off, as FMA is everywhere.
#   cmake --workflow --preset mipsel && qemu-mipsel build-mipsel/memspec
set(memspec_processor mips)
set(memspec_triple mipsel-linux-gnu)
set(memspec_qemu qemu-mipsel)
include(${CMAKE_CURRENT_LIST_DIR}/cross.cmake)
