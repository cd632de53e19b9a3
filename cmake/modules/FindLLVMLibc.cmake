# Finds LLVM's C library (Debian: libllvmlibc-NN-dev), whose sin, cos and
# sincos are correctly rounded, for the machine being built for. It only
# finds: the archive is a whole C library, and trig/ takes the three functions
# out of it at build time.
#
#   LLVMLibc_ARCHIVE   empty: every archive in /usr/lib/llvm-*/lib and, for a
#                      cross build, in the build tree's llvmlibc/usr/lib/
#                      llvm-*/lib (a foreign package unpacked there); a path:
#                      that archive alone, which must fit (a relative path is
#                      taken from the source directory and kept absolute);
#                      a CMake false value (OFF, NO, FALSE, 0, N, IGNORE,
#                      NOTFOUND): none
#
# An archive fits when it is a regular file holding ELF objects for the
# target's machine. Result variables:
#   LLVMLibc_FOUND      whether one fits
#   LLVMLibc_ARCHIVE_USED, LLVMLibc_VERSION   the newest that fits, and its NN
#   LLVMLibc_VERSIONS   the NN of every archive that fits, newest first
#   LLVMLibc_WHY        what was taken, or why nothing was; and what was
#                       refused, and why
# Imported targets, one per archive that fits: LLVMLibc::vNN (the version NN,
# or "custom" for a path without llvm-NN/), and LLVMLibc::LLVMLibc for the
# newest. Their location is the archive itself: not to be linked whole.

set(LLVMLibc_ARCHIVE "" CACHE STRING "LLVM's libllvmlibc.a to take sin, cos and sincos from: \
empty for the newest that fits, a CMake false value for none")

# The ELF machine number of the first object in archive, or "" if archive is
# no archive of ELF objects. Member names that start with "/" and no digit are
# the tables of symbols and long names.
function(_llvmlibc_machine archive var)
  set(${var} "" PARENT_SCOPE)
  file(READ "${archive}" magic LIMIT 8 HEX)
  if(NOT magic STREQUAL "213c617263683e0a") # !<arch>\n
    return()
  endif()
  set(offset 8)
  foreach(i RANGE 4)
    file(READ "${archive}" header OFFSET ${offset} LIMIT 60)
    string(LENGTH "${header}" n)
    if(n LESS 60)
      return()
    endif()
    string(SUBSTRING "${header}" 48 10 size)
    string(STRIP "${size}" size)
    if(NOT size MATCHES "^[0-9]+$")
      return()
    endif()
    math(EXPR data "${offset} + 60")
    if(NOT header MATCHES "^/([^0-9]|$)")
      file(READ "${archive}" elf OFFSET ${data} LIMIT 20 HEX)
      if(NOT elf MATCHES "^7f454c46..(01|02)")
        return()
      endif()
      string(SUBSTRING "${elf}" 36 2 lo)
      string(SUBSTRING "${elf}" 38 2 hi)
      if(CMAKE_MATCH_1 STREQUAL "02") # big-endian
        set(t ${lo})
        set(lo ${hi})
        set(hi ${t})
      endif()
      math(EXPR m "0x${hi}${lo}")
      set(${var} ${m} PARENT_SCOPE)
      return()
    endif()
    math(EXPR offset "${data} + ${size} + ${size} % 2")
  endforeach()
endfunction()

set(LLVMLibc_FOUND FALSE)
set(LLVMLibc_VERSIONS "")
set(LLVMLibc_WHY "")
set(_llvmlibc_refused "")
# the ELF machine of each processor LLVM's C library is packaged for
set(_llvmlibc_machines x86_64=62 AMD64=62 i386=3 i686=3 aarch64=183 arm64=183 ppc64le=21
    s390x=22 riscv64=243)
set(_llvmlibc_want "")
foreach(pair IN LISTS _llvmlibc_machines)
  if(pair MATCHES "^${CMAKE_SYSTEM_PROCESSOR}=([0-9]+)$" AND NOT CMAKE_SYSTEM_NAME STREQUAL "Windows")
    set(_llvmlibc_want ${CMAKE_MATCH_1})
  endif()
endforeach()

if(LLVMLibc_ARCHIVE MATCHES ";")
  message(FATAL_ERROR "LLVMLibc_ARCHIVE is one path, and '${LLVMLibc_ARCHIVE}' holds a ';'")
elseif(NOT LLVMLibc_ARCHIVE STREQUAL "" AND NOT LLVMLibc_ARCHIVE)
  set(LLVMLibc_WHY "LLVMLibc_ARCHIVE is ${LLVMLibc_ARCHIVE}")
  set(_llvmlibc_candidates "")
elseif(LLVMLibc_ARCHIVE)
  if(NOT IS_ABSOLUTE "${LLVMLibc_ARCHIVE}")
    get_filename_component(abs "${LLVMLibc_ARCHIVE}" ABSOLUTE BASE_DIR "${PROJECT_SOURCE_DIR}")
    get_property(doc CACHE LLVMLibc_ARCHIVE PROPERTY HELPSTRING)
    set(LLVMLibc_ARCHIVE "${abs}" CACHE STRING "${doc}" FORCE)
  endif()
  set(_llvmlibc_candidates "${LLVMLibc_ARCHIVE}")
else()
  file(GLOB _llvmlibc_candidates /usr/lib/llvm-*/lib/libllvmlibc.a
       ${CMAKE_BINARY_DIR}/llvmlibc/usr/lib/llvm-*/lib/libllvmlibc.a)
  # newest first: NN|path, sorted as numbers
  list(TRANSFORM _llvmlibc_candidates REPLACE "^(.*/llvm-([0-9]+)/lib/libllvmlibc.a)$" "\\2|\\1")
  list(SORT _llvmlibc_candidates COMPARE NATURAL ORDER DESCENDING)
  list(TRANSFORM _llvmlibc_candidates REPLACE "^[0-9]+[|]" "")
  if(NOT _llvmlibc_candidates)
    set(LLVMLibc_WHY "no LLVM C library archive (Debian: libllvmlibc-22-dev)")
  endif()
endif()

foreach(archive IN LISTS _llvmlibc_candidates)
  set(why "")
  if(NOT EXISTS "${archive}")
    set(why "does not exist")
  elseif(IS_DIRECTORY "${archive}")
    set(why "is a directory")
  else()
    # a FIFO or a device has no size, and is not opened
    file(SIZE "${archive}" size)
    if(size EQUAL 0)
      set(why "is empty, or not a regular file")
    else()
      _llvmlibc_machine("${archive}" machine)
      if(machine STREQUAL "")
        set(why "is not an archive of ELF objects")
      elseif(NOT machine STREQUAL _llvmlibc_want)
        set(why "is for ELF machine ${machine}, not ${CMAKE_SYSTEM_PROCESSOR}")
      endif()
    endif()
  endif()
  if(archive MATCHES "/llvm-([0-9]+)/lib/libllvmlibc.a$")
    set(v ${CMAKE_MATCH_1})
  else()
    set(v custom)
  endif()
  if(NOT why STREQUAL "" OR v IN_LIST LLVMLibc_VERSIONS)
    if(NOT why STREQUAL "")
      list(APPEND _llvmlibc_refused "${archive} ${why}")
    endif()
    continue()
  endif()
  list(APPEND LLVMLibc_VERSIONS ${v})
  if(NOT TARGET LLVMLibc::v${v})
    add_library(LLVMLibc::v${v} STATIC IMPORTED)
    set_target_properties(LLVMLibc::v${v} PROPERTIES IMPORTED_LOCATION "${archive}")
  endif()
  if(NOT LLVMLibc_FOUND)
    set(LLVMLibc_FOUND TRUE)
    set(LLVMLibc_ARCHIVE_USED "${archive}")
    set(LLVMLibc_VERSION ${v})
    if(NOT TARGET LLVMLibc::LLVMLibc)
      add_library(LLVMLibc::LLVMLibc ALIAS LLVMLibc::v${v})
    endif()
  endif()
endforeach()

if(LLVMLibc_FOUND)
  set(LLVMLibc_WHY "${LLVMLibc_ARCHIVE_USED}, the newest that fits ${CMAKE_SYSTEM_PROCESSOR}")
  if(LLVMLibc_ARCHIVE)
    set(LLVMLibc_WHY "${LLVMLibc_ARCHIVE_USED}, as LLVMLibc_ARCHIVE names it")
  endif()
endif()
if(_llvmlibc_refused)
  list(JOIN _llvmlibc_refused ". " why)
  if(LLVMLibc_FOUND)
    string(APPEND LLVMLibc_WHY " (refused: ${why})")
  else()
    set(LLVMLibc_WHY "${why}")
  endif()
endif()
if(LLVMLibc_ARCHIVE AND NOT LLVMLibc_FOUND)
  message(FATAL_ERROR "LLVMLibc_ARCHIVE names an archive that cannot be used: ${LLVMLibc_WHY}")
endif()

include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(LLVMLibc REQUIRED_VARS LLVMLibc_ARCHIVE_USED
                                  VERSION_VAR LLVMLibc_VERSION REASON_FAILURE_MESSAGE "${LLVMLibc_WHY}")
