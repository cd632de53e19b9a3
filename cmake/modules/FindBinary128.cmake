# Finds a binary128 sine and cosine in the toolchain: long double's, where
# long double is binary128 (a 113-bit significand: WebAssembly, 64-bit Arm
# Linux), otherwise GCC's __float128 with libquadmath's sinq and cosq
# (MinGW-w64, x86-64 Linux). Defines Binary128_FOUND, Binary128_LIBRARY
# (quadmath, or empty for long double) and the imported target
# Binary128::Binary128.

include(CheckCXXSourceCompiles)
include(CMakePushCheckState)
cmake_push_check_state(RESET)
set(CMAKE_REQUIRED_QUIET ON)
check_cxx_source_compiles([[
#include <cfloat>
#include <cmath>
static_assert(LDBL_MANT_DIG == 113, "long double is not binary128");
int main(int n, char**) { long double x = n; return std::sin(x) + std::cos(x) > 0.0L; }
]] Binary128_LONG_DOUBLE)
if(NOT Binary128_LONG_DOUBLE)
  set(CMAKE_REQUIRED_LIBRARIES quadmath)
  check_cxx_source_compiles([[
extern "C" __float128 sinq(__float128);
extern "C" __float128 cosq(__float128);
int main(int n, char**) { __float128 x = n; return sinq(x) + cosq(x) > 0; }
]] Binary128_QUADMATH)
endif()
cmake_pop_check_state()

if(Binary128_LONG_DOUBLE)
  set(Binary128_LIBRARY "")
  set(Binary128_KIND "long double")
elseif(Binary128_QUADMATH)
  set(Binary128_LIBRARY quadmath)
  set(Binary128_KIND "libquadmath")
endif()

include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(Binary128 REQUIRED_VARS Binary128_KIND
  REASON_FAILURE_MESSAGE "neither a 113-bit long double nor libquadmath")

if(Binary128_FOUND AND NOT TARGET Binary128::Binary128)
  add_library(Binary128::Binary128 INTERFACE IMPORTED)
  set_target_properties(Binary128::Binary128 PROPERTIES
    INTERFACE_LINK_LIBRARIES "${Binary128_LIBRARY}")
endif()
