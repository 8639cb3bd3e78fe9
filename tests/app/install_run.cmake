# The program installed into a prefix of its own runs from there: --version, a headless run that
# finds the shipped default files in <prefix>/share/qzsim, and a chart; the desktop entry and the
# icon are where desktops look for them, and the entry validates.
#   -DBUILD=<build folder> -DSOURCE=<source tree> -DWORK=<scratch folder>
#   -DVALIDATE=<desktop-file-validate>
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
set(P "${WORK}/prefix")

function(run what)
  execute_process(COMMAND ${ARGN} WORKING_DIRECTORY "${WORK}" RESULT_VARIABLE rc
                  OUTPUT_VARIABLE out ERROR_VARIABLE err)
  message(STATUS "${what}: exit ${rc}\n${out}${err}")
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${what} failed")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

run("install" ${CMAKE_COMMAND} --install "${BUILD}" --prefix "${P}")
foreach(f bin/QzSim share/qzsim/QzSim0.ini share/applications/qzsim.desktop
          share/icons/hicolor/scalable/apps/qzsim.svg)
  if(NOT EXISTS "${P}/${f}")
    message(FATAL_ERROR "${f} was not installed")
  endif()
endforeach()

# The manual: every page and picture of the build, byte for byte, beside the program and as
# documentation.
file(GLOB pages RELATIVE "${SOURCE}/share/qzsim/help" "${SOURCE}/share/qzsim/help/*.html")
file(GLOB pictures RELATIVE "${BUILD}/share/qzsim/help" "${BUILD}/share/qzsim/help/img/*.png")
list(LENGTH pages npages)
list(LENGTH pictures npictures)
if(npages LESS 28 OR npictures LESS 21)
  message(FATAL_ERROR "the manual has ${npages} pages and ${npictures} pictures")
endif()
foreach(f ${pages} ${pictures})
  foreach(dest share/qzsim/help share/doc/qzsim)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${BUILD}/share/qzsim/help/${f}"
                            "${P}/${dest}/${f}" RESULT_VARIABLE same)
    if(NOT same EQUAL 0)
      message(FATAL_ERROR "${dest}/${f} is not the build's")
    endif()
  endforeach()
endforeach()

run("--version" ${P}/bin/QzSim --version)
if(NOT out MATCHES "^QzSim [0-9]+\\.[0-9]+\\.[0-9]+\n")
  message(FATAL_ERROR "no version in: ${out}")
endif()

# A first start from the prefix fills the new per-user folder from <prefix>/share/qzsim.
run("headless run" ${CMAKE_COMMAND} -E env --unset=DISPLAY QZSIM_PROFILE=${WORK}/profile
    ${P}/bin/QzSim --headless --passes 120 --save-results ${WORK}/out.txt
    --chart vswr:320x240 --save-chart ${WORK}/vswr.png)
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${P}/share/qzsim/QzSim0.ini"
                        "${WORK}/profile/Vostrel/QzSim/QzSim0.ini" RESULT_VARIABLE same)
if(NOT same EQUAL 0)
  message(FATAL_ERROR "the shipped default setup was not found beside the installed program")
endif()
file(STRINGS "${WORK}/out.txt" lines REGEX "^[0-9]+\t")
list(LENGTH lines n)
if(NOT n EQUAL 101)
  message(FATAL_ERROR "${n} results lines, wanted 101")
endif()
file(READ "${WORK}/vswr.png" head LIMIT 24 HEX)
if(NOT head STREQUAL "89504e470d0a1a0a0000000d4948445200000140000000f0")
  message(FATAL_ERROR "vswr.png is no 320 x 240 PNG: ${head}")
endif()

if(NOT VALIDATE)
  message(FATAL_ERROR "desktop-file-validate is missing (./build.sh deps installs it)")
endif()
run("desktop-file-validate" ${VALIDATE} "${P}/share/applications/qzsim.desktop")
if(NOT out STREQUAL "")
  message(FATAL_ERROR "the desktop entry has remarks: ${out}")
endif()
message(STATUS "PASS")
