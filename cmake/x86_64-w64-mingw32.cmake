# 64-bit Windows with Debian's MinGW-w64 cross compiler (g++-mingw-w64-x86-64),
# run under Wine (wine64). Linked statically, so that memspec.exe needs no
# MinGW libraries beside it. There is no MPFR for Windows in Debian, so the
# correctly rounded build (windows-cr) takes libquadmath's binary128 sine
# and cosine, which MinGW-w64's GCC ships.
#   cmake --workflow --preset windows-cr && wine build-windows-cr/memspec.exe
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++)
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
# Debian's wine command takes the 32-bit loader wherever wine32 is installed
# (as it is beside the i386 target), and a 64-bit kernel need not run it:
# the 64-bit loader, for a 64-bit program, where it is found.
if(EXISTS /usr/lib/wine/wine64)
  set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
else()
  set(CMAKE_CROSSCOMPILING_EMULATOR wine)
endif()

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
