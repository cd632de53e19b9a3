# 64-bit little-endian MIPS (Debian mips64el: crossbuild-essential-mips64el,
# qemu-user, libmpfr-dev:mips64el). Its multiply-add instructions are kept
# out by -ffp-contract=off, as FMA is everywhere.
#   cmake --workflow --preset mips64el && qemu-mips64el build-mips64el/memspec
set(memspec_processor mips64)
set(memspec_triple mips64el-linux-gnuabi64)
set(memspec_qemu qemu-mips64el)
include(${CMAKE_CURRENT_LIST_DIR}/cross.cmake)
