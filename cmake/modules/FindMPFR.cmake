# Finds GNU MPFR and GMP (Debian: libmpfr-dev). Defines MPFR_FOUND and the
# imported target MPFR::MPFR, which brings GMP with it. Where the static
# archives are installed and MPFR_STATIC is not OFF, it is those: a program
# that uses MPFR only as a fallback then does not pay for loading two more
# shared libraries on every run, and needs nothing new at run time.

option(MPFR_STATIC "Link MPFR and GMP from their static archives where they are installed" ON)
find_path(MPFR_INCLUDE_DIR mpfr.h)
find_library(MPFR_SHARED_LIBRARY mpfr)
find_library(GMP_SHARED_LIBRARY gmp)
set(MPFR_LIBRARY ${MPFR_SHARED_LIBRARY})
set(GMP_LIBRARY ${GMP_SHARED_LIBRARY})
if(MPFR_STATIC)
  find_library(MPFR_STATIC_LIBRARY libmpfr.a)
  find_library(GMP_STATIC_LIBRARY libgmp.a)
  if(MPFR_STATIC_LIBRARY AND GMP_STATIC_LIBRARY)
    set(MPFR_LIBRARY ${MPFR_STATIC_LIBRARY})
    set(GMP_LIBRARY ${GMP_STATIC_LIBRARY})
  endif()
endif()

include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(MPFR REQUIRED_VARS MPFR_LIBRARY GMP_LIBRARY MPFR_INCLUDE_DIR)

if(MPFR_FOUND AND NOT TARGET MPFR::MPFR)
  add_library(MPFR::GMP UNKNOWN IMPORTED)
  set_target_properties(MPFR::GMP PROPERTIES IMPORTED_LOCATION "${GMP_LIBRARY}")
  add_library(MPFR::MPFR UNKNOWN IMPORTED)
  set_target_properties(MPFR::MPFR PROPERTIES IMPORTED_LOCATION "${MPFR_LIBRARY}"
    INTERFACE_INCLUDE_DIRECTORIES "${MPFR_INCLUDE_DIR}" INTERFACE_LINK_LIBRARIES MPFR::GMP)
endif()
