# Cross build with Debian's cross compiler for the triple in memspec_triple,
# run under qemu-user (memspec_qemu). MPFR for the correctly rounded build
# comes from Debian's multiarch (libmpfr-dev:ARCH, in /usr/lib/TRIPLE, or
# /usr/lib/memspec_multiarch where the directory is named otherwise), and
# with it the target's C library, which runs the program: qemu needs no -L.
# (With -L /usr/TRIPLE, ppc64el mixes the cross tree's loader with the
# multiarch C library and dies of "stack smashing detected".)
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR ${memspec_processor})
set(CMAKE_CXX_COMPILER ${memspec_triple}-g++)
if(NOT memspec_multiarch)
  set(memspec_multiarch ${memspec_triple})
endif()
set(CMAKE_LIBRARY_ARCHITECTURE ${memspec_multiarch})
set(CMAKE_CROSSCOMPILING_EMULATOR ${memspec_qemu})

# Libraries and headers of the target only: its cross tree and the multiarch
# directories under /usr.
set(CMAKE_FIND_ROOT_PATH /usr/${memspec_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY BOTH)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE BOTH)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
