# Charts from headless runs: a Z-Smith chart of 640 x 480 after 500 passes and the same chart
# without any measurement; both must be PNG files of that size and differ. The run is given a
# platform that cannot start here (no display): a chart needs no screen at all.
#   -DEXE=<program> -DWORK=<scratch folder>
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")

function(run_chart out passes)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
            QZSIM_PROFILE=${WORK}/profile QT_QPA_PLATFORM=xcb
            ${EXE} --headless --passes ${passes} --chart z-smith:640x480 --save-chart ${WORK}/${out}
    WORKING_DIRECTORY "${WORK}"
    RESULT_VARIABLE rc OUTPUT_VARIABLE so ERROR_VARIABLE se)
  message(STATUS "exit ${rc}\n${so}${se}")
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "exit code ${rc} for ${out}")
  endif()
  if(NOT so MATCHES "Chart saved to ")
    message(FATAL_ERROR "no word of the chart in the output")
  endif()
  # PNG signature, then the IHDR chunk: length 13, "IHDR", width, height.
  file(READ "${WORK}/${out}" head LIMIT 24 HEX)
  if(NOT head STREQUAL "89504e470d0a1a0a0000000d4948445200000280000001e0")
    message(FATAL_ERROR "${out} is no 640 x 480 PNG: ${head}")
  endif()
endfunction()

run_chart(x.png 500)
run_chart(empty.png 0)
file(SHA256 "${WORK}/x.png" measured)
file(SHA256 "${WORK}/empty.png" empty)
# The encoder is deterministic: files of one size that differ hold different pixels.
if(measured STREQUAL empty)
  message(FATAL_ERROR "the chart after 500 passes equals the empty chart")
endif()
message(STATUS "PASS")
