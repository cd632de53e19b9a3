# Draws memspec.png for the picture target: the tree's program and value table
# make gnuplot's data (picture.awk) in a directory beside OUT, where gnuplot
# (picture.gp) is given no path but its files' names; the picture replaces OUT
# by a rename once whole, so a failed or interrupted draw leaves the old one.
#   cmake -DMEMSPEC=... -DVALUES=... -DGNUPLOT=... -DCR=1|0 -DTOOLS=... -DOUT=... -P picture.cmake

set(dir "${OUT}.d")
file(REMOVE_RECURSE "${dir}")
file(MAKE_DIRECTORY "${dir}")

# fail MESSAGE: the directory removed, the draw failed with MESSAGE
function(fail)
  file(REMOVE_RECURSE "${dir}")
  message(FATAL_ERROR ${ARGN})
endfunction()
function(run what)
  execute_process(COMMAND ${ARGN} WORKING_DIRECTORY "${dir}" RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(NOT rc STREQUAL "0")
    fail("${what} failed (${rc}): ${err}")
  endif()
endfunction()
run(memspec "${MEMSPEC}" OUTPUT_FILE "${dir}/memspec.out")
run("the value table" "${VALUES}" OUTPUT_FILE "${dir}/values.txt")
run("reading them" awk -f "${TOOLS}/table.awk" -f "${TOOLS}/picture.awk" memspec.out values.txt)
run("gnuplot (Debian: gnuplot-nox)" "${GNUPLOT}" -e "cr = ${CR}" "${TOOLS}/picture.gp")

# whole when PNG's IEND chunk ends it
set(new "${dir}/memspec.png.new")
if(EXISTS "${new}")
  file(READ "${new}" png HEX)
endif()
if(NOT png MATCHES "0000000049454e44ae426082$")
  fail("gnuplot left no whole picture (is the disk full?)")
endif()
file(RENAME "${new}" "${OUT}")
file(REMOVE_RECURSE "${dir}")
