# Draws memspec.png for the picture target. The tree's program and value
# table are run, and their output made into gnuplot's data (picture.awk), in
# a directory of its own beside OUT, where gnuplot (picture.gp) is given no
# path but its files' names; the picture replaces OUT by a rename once it is
# whole, so that an interrupted build leaves the old picture or none.
#   cmake -DMEMSPEC=... -DVALUES=... -DGNUPLOT=... -DCR=1|0 -DTOOLS=...
#         -DOUT=.../memspec.png -P tools/picture.cmake

if(NOT GNUPLOT)
  message(FATAL_ERROR "gnuplot is missing (Debian: apt-get install gnuplot-nox)")
endif()
set(dir "${OUT}.d")
file(REMOVE_RECURSE "${dir}")
file(MAKE_DIRECTORY "${dir}")

function(run what)
  execute_process(COMMAND ${ARGN} WORKING_DIRECTORY "${dir}" RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(NOT rc STREQUAL "0")
    message(FATAL_ERROR "${what} failed (${rc}): ${err}")
  endif()
endfunction()
run(memspec "${MEMSPEC}" OUTPUT_FILE "${dir}/memspec.out")
run("the value table" "${VALUES}" OUTPUT_FILE "${dir}/values.txt")
run("reading them" awk -f "${TOOLS}/table.awk" -f "${TOOLS}/picture.awk" memspec.out values.txt)
run(gnuplot "${GNUPLOT}" -e "cr = ${CR}" "${TOOLS}/picture.gp")

# whole when PNG's IEND chunk ends it
set(new "${dir}/memspec.png.new")
file(SIZE "${new}" size)
math(EXPR at "${size} - 12")
file(READ "${new}" tail OFFSET ${at} HEX)
if(NOT tail STREQUAL "0000000049454e44ae426082")
  message(FATAL_ERROR "gnuplot left an incomplete picture in ${new}")
endif()
file(RENAME "${new}" "${OUT}")
file(REMOVE_RECURSE "${dir}")
