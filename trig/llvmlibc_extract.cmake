# Takes sin, cos and sincos out of LLVM's C library into an archive of their
# own, renamed llvmlibc_sin, llvmlibc_cos and llvmlibc_sincos, with every
# other symbol made local: linked as it is, the archive would also replace
# printf, memcpy and the rest, and the math library's functions could come
# back by link order. Refused, failing the build with the reason, where the
# three would bring any other global symbol than LLVM's own namespaced
# helpers, or code that runs before main (constructors or initialisers).
# The result is written beside OUT and renamed onto it when whole.
#
# cmake -DARCHIVE=... -DOUT=... -DCXX=... -DNM=... -DOBJCOPY=... -DOBJDUMP=...
#       -DAR=... -P llvmlibc_extract.cmake

get_filename_component(dir "${OUT}" DIRECTORY)
set(whole "${dir}/whole.o")
set(renamed "${dir}/renamed.o")
set(only "${dir}/only.o")
file(MAKE_DIRECTORY "${dir}")
file(REMOVE "${OUT}" "${OUT}.new")

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    string(REPLACE "\n" " " err "${err}")
    message(FATAL_ERROR "${ARCHIVE}: ${ARGV0} failed: ${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

# the three, and whatever they need from the archive
run(${CXX} -r -nostdlib -Wl,-u,sin -Wl,-u,cos -Wl,-u,sincos -o ${whole} ${ARCHIVE})
run(${NM} -g --defined-only ${whole})
string(REGEX MATCHALL "[^ \n]+\n" syms "${out}")
set(found "")
foreach(s IN LISTS syms)
  string(STRIP "${s}" s)
  if(s MATCHES "^(sin|cos|sincos)$")
    list(APPEND found ${s})
  elseif(NOT s MATCHES "^_ZN?K?[0-9]+__llvm_libc_")
    message(FATAL_ERROR "${ARCHIVE} would bring ${s} besides sin, cos and sincos")
  endif()
endforeach()
list(SORT found)
if(NOT found STREQUAL "cos;sin;sincos")
  message(FATAL_ERROR "${ARCHIVE} does not define sin, cos and sincos")
endif()
run(${OBJDUMP} -h ${whole})
if(out MATCHES "[ .](init_array|preinit_array|ctors)[ .\n]")
  message(FATAL_ERROR "${ARCHIVE} would bring code that runs before main (.${CMAKE_MATCH_1})")
endif()

# renamed first, then made the only globals: GNU objcopy would take both in
# one pass, llvm-objcopy keeps by the names before renaming
run(${OBJCOPY} --redefine-sym sin=llvmlibc_sin --redefine-sym cos=llvmlibc_cos
    --redefine-sym sincos=llvmlibc_sincos ${whole} ${renamed})
run(${OBJCOPY} --keep-global-symbol=llvmlibc_sin --keep-global-symbol=llvmlibc_cos
    --keep-global-symbol=llvmlibc_sincos ${renamed} ${only})
run(${NM} -g --defined-only ${only})
string(REGEX MATCHALL "[^ \n]+\n" syms "${out}")
string(REPLACE "\n" "" syms "${syms}")
if(NOT syms STREQUAL "llvmlibc_cos;llvmlibc_sin;llvmlibc_sincos")
  message(FATAL_ERROR "renaming the functions of ${ARCHIVE} left ${syms}")
endif()
run(${AR} qc ${OUT}.new ${only})
file(RENAME "${OUT}.new" "${OUT}")
