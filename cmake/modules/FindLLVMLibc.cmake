# Finds LLVM's C library (Debian: libllvmlibc-NN-dev), whose sin, cos and
# sincos are correctly rounded, and takes those three from it and nothing
# else. The archive is a whole C library: linked as it is, it would also
# replace printf, memcpy and the rest. So it is linked relocatably with only
# the three asked for, every symbol but theirs is made local, and they are
# renamed llvmlibc_sin, llvmlibc_cos and llvmlibc_sincos, so that no link
# order can give back the math library's.
#
#   LLVMLibc_ARCHIVE   empty: the newest archive that fits the target, looked
#                      for in /usr/lib/llvm-*/lib and, for a cross build, in
#                      the build tree's llvmlibc/ (a foreign package unpacked
#                      with dpkg-deb -x); a path: that archive, which must fit;
#                      OFF: none
#
# Defines LLVMLibc_FOUND, LLVMLibc_ARCHIVE_USED, LLVMLibc_WHY (what was taken
# or why nothing was), the imported target LLVMLibc::LLVMLibc for the archive
# taken, and LLVMLibc::vNN for every version NN that fits (for tests that
# prove each the same function as MPFR's).

set(LLVMLibc_ARCHIVE "" CACHE STRING
    "LLVM's libllvmlibc.a to take sin, cos and sincos from: empty for the newest that fits, OFF for none")

# Takes the three functions from archive into an archive of their own at
# out; sets ok_var and why_var.
function(_llvmlibc_extract archive out ok_var why_var)
  set(${ok_var} FALSE PARENT_SCOPE)
  set(whole ${out}.whole.o)
  set(only ${out}.o)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -r -nostdlib -Wl,-u,sin -Wl,-u,cos
                          -Wl,-u,sincos -o ${whole} ${archive}
                  RESULT_VARIABLE rc ERROR_VARIABLE err OUTPUT_QUIET)
  if(NOT rc EQUAL 0)
    string(REGEX REPLACE "\n.*" "" err "${err}")
    string(REGEX REPLACE "^.*/ld: " "" err "${err}")
    set(${why_var} "${archive} does not fit ${CMAKE_SYSTEM_PROCESSOR} (${err})" PARENT_SCOPE)
    return()
  endif()
  # what the link brought: the three, and LLVM's own namespaced helpers
  execute_process(COMMAND ${CMAKE_NM} -g --defined-only ${whole}
                  OUTPUT_VARIABLE syms RESULT_VARIABLE rc)
  string(REGEX MATCHALL "[^ \n]+\n" syms "${syms}")
  set(found "")
  foreach(s IN LISTS syms)
    string(STRIP "${s}" s)
    if(s MATCHES "^(sin|cos|sincos)$")
      list(APPEND found ${s})
    elseif(NOT s MATCHES "^_ZN?K?[0-9]+__llvm_libc_")
      set(${why_var} "${archive} would bring ${s} besides sin, cos and sincos" PARENT_SCOPE)
      return()
    endif()
  endforeach()
  list(SORT found)
  if(NOT rc EQUAL 0 OR NOT found STREQUAL "cos;sin;sincos")
    set(${why_var} "${archive} does not define sin, cos and sincos" PARENT_SCOPE)
    return()
  endif()
  # renamed first, then made the only globals: GNU objcopy would take both in
  # one pass, llvm-objcopy keeps by the names before renaming
  execute_process(COMMAND ${CMAKE_OBJCOPY}
                    --redefine-sym sin=llvmlibc_sin --redefine-sym cos=llvmlibc_cos
                    --redefine-sym sincos=llvmlibc_sincos ${whole} ${only}.renamed
                  RESULT_VARIABLE rc)
  if(rc EQUAL 0)
    execute_process(COMMAND ${CMAKE_OBJCOPY}
                      --keep-global-symbol=llvmlibc_sin --keep-global-symbol=llvmlibc_cos
                      --keep-global-symbol=llvmlibc_sincos ${only}.renamed ${only}
                    RESULT_VARIABLE rc)
  endif()
  if(rc EQUAL 0)
    execute_process(COMMAND ${CMAKE_NM} -g --defined-only ${only}
                    OUTPUT_VARIABLE syms RESULT_VARIABLE rc)
  endif()
  string(REGEX MATCHALL "[^ \n]+\n" syms "${syms}")
  string(REPLACE "\n" "" syms "${syms}")
  if(NOT rc EQUAL 0 OR NOT syms STREQUAL "llvmlibc_cos;llvmlibc_sin;llvmlibc_sincos")
    set(${why_var} "renaming the functions of ${archive} failed (${syms})" PARENT_SCOPE)
    return()
  endif()
  file(REMOVE ${out})
  execute_process(COMMAND ${CMAKE_AR} qc ${out} ${only} RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    set(${why_var} "${CMAKE_AR} could not archive ${only}" PARENT_SCOPE)
    return()
  endif()
  set(${ok_var} TRUE PARENT_SCOPE)
endfunction()

set(LLVMLibc_FOUND FALSE)
set(LLVMLibc_ARCHIVE_USED "")
if(LLVMLibc_ARCHIVE STREQUAL "OFF")
  set(LLVMLibc_WHY "LLVMLibc_ARCHIVE is OFF")
else()
  if(LLVMLibc_ARCHIVE)
    set(candidates ${LLVMLibc_ARCHIVE})
  else()
    file(GLOB candidates /usr/lib/llvm-*/lib/libllvmlibc.a
         ${CMAKE_BINARY_DIR}/llvmlibc/usr/lib/llvm-*/lib/libllvmlibc.a)
    # newest first, by the NN of llvm-NN
    set(keyed "")
    foreach(c IN LISTS candidates)
      string(REGEX MATCH "llvm-([0-9]+)/lib/libllvmlibc.a$" _ "${c}")
      string(LENGTH "${CMAKE_MATCH_1}" k)
      list(APPEND keyed "${k}${CMAKE_MATCH_1}|${c}")
    endforeach()
    list(SORT keyed ORDER DESCENDING)
    list(TRANSFORM keyed REPLACE "^[^|]*[|]" "")
    set(candidates ${keyed})
    set(LLVMLibc_WHY "no LLVM C library archive (Debian: libllvmlibc-22-dev)")
  endif()
  set(reasons "")
  foreach(archive IN LISTS candidates)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${archive})
    string(REGEX MATCH "llvm-([0-9]+)/" _ "${archive}")
    set(v "${CMAKE_MATCH_1}")
    if(NOT v)
      set(v "custom")
    endif()
    set(out ${CMAKE_BINARY_DIR}/llvmlibc_trig_${v}.a)
    if(NOT EXISTS ${archive})
      set(ok FALSE)
      set(why "${archive} does not exist")
    else()
      _llvmlibc_extract(${archive} ${out} ok why)
    endif()
    if(NOT ok)
      if(NOT LLVMLibc_FOUND)
        list(APPEND reasons "${why}")
      endif()
      continue()
    endif()
    if(NOT TARGET LLVMLibc::v${v})
      add_library(LLVMLibc::v${v} STATIC IMPORTED)
      set_target_properties(LLVMLibc::v${v} PROPERTIES IMPORTED_LOCATION ${out})
      list(APPEND LLVMLibc_VERSIONS ${v})
    endif()
    if(NOT LLVMLibc_FOUND)
      set(LLVMLibc_FOUND TRUE)
      set(LLVMLibc_ARCHIVE_USED ${archive})
      add_library(LLVMLibc::LLVMLibc ALIAS LLVMLibc::v${v})
    endif()
  endforeach()
  if(LLVMLibc_FOUND)
    set(LLVMLibc_WHY "${LLVMLibc_ARCHIVE_USED}, the newest that fits ${CMAKE_SYSTEM_PROCESSOR}")
    if(LLVMLibc_ARCHIVE)
      set(LLVMLibc_WHY "${LLVMLibc_ARCHIVE_USED}, as LLVMLibc_ARCHIVE names it")
    elseif(reasons)
      list(JOIN reasons "; " why)
      set(LLVMLibc_WHY "${LLVMLibc_WHY} (refused: ${why})")
    endif()
  elseif(reasons)
    list(JOIN reasons "; " LLVMLibc_WHY)
  endif()
  if(LLVMLibc_ARCHIVE AND NOT LLVMLibc_FOUND)
    message(FATAL_ERROR "LLVMLibc_ARCHIVE names an archive that cannot be used: ${LLVMLibc_WHY}")
  endif()
endif()
