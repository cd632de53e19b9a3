# Finds GNU MPFR and GMP (Debian: libmpfr-dev). Defines MPFR_FOUND and the
# imported target MPFR::MPFR, which brings GMP with it. With MPFR_STATIC
# (the default) and both static archives installed it is those, so that the
# program needs nothing new at run time and does not pay, on every run, for
# loading two more shared libraries; otherwise the shared libraries.

set(MPFR_STATIC ON CACHE BOOL "Take MPFR and GMP from their static archives where installed")
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
find_package_handle_standard_args(MPFR REQUIRED_VARS MPFR_LIBRARY GMP_LIBRARY MPFR_INCLUDE_DIR
  REASON_FAILURE_MESSAGE "Debian: apt-get install libmpfr-dev")

if(MPFR_FOUND AND NOT TARGET MPFR::MPFR)
  add_library(MPFR::GMP UNKNOWN IMPORTED)
  set_target_properties(MPFR::GMP PROPERTIES IMPORTED_LOCATION "${GMP_LIBRARY}")
  add_library(MPFR::MPFR UNKNOWN IMPORTED)
  set_target_properties(MPFR::MPFR PROPERTIES IMPORTED_LOCATION "${MPFR_LIBRARY}"
    INTERFACE_INCLUDE_DIRECTORIES "${MPFR_INCLUDE_DIR}" INTERFACE_LINK_LIBRARIES MPFR::GMP)
endif()
