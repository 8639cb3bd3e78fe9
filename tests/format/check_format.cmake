# Checks that every C++ file of the repository is laid out as the repository's .clang-format
# says (run as cmake -P): clang-format --dry-run -Werror over the files git tracks (every .cpp
# and .h below src, tests, bench and fuzz when the sources are no git checkout). Without
# clang-format the check says so and counts as skipped.
#
# -DROOT=<repository>  -DCLANG_FORMAT=<program> (optional: found on the PATH otherwise)
cmake_minimum_required(VERSION 3.25)

if(NOT ROOT)
  message(FATAL_ERROR "usage: cmake -DROOT=... -P check_format.cmake")
endif()
if(NOT CLANG_FORMAT)
  find_program(CLANG_FORMAT clang-format)
endif()
if(NOT CLANG_FORMAT)
  message(STATUS "clang-format not found: format check skipped")
  return()
endif()

set(_files "")
find_program(_git git)
if(_git AND EXISTS "${ROOT}/.git")
  execute_process(COMMAND ${_git} -C "${ROOT}" ls-files -- "*.cpp" "*.h"
                  OUTPUT_VARIABLE _out RESULT_VARIABLE _rc ERROR_QUIET)
  if(_rc EQUAL 0)
    string(REGEX REPLACE "\n$" "" _out "${_out}")
    string(REPLACE "\n" ";" _files "${_out}")
  endif()
endif()
if(NOT _files)
  file(GLOB_RECURSE _files RELATIVE "${ROOT}" "${ROOT}/src/*.cpp" "${ROOT}/src/*.h"
       "${ROOT}/tests/*.cpp" "${ROOT}/tests/*.h" "${ROOT}/bench/*.cpp" "${ROOT}/bench/*.h"
       "${ROOT}/fuzz/*.cpp" "${ROOT}/fuzz/*.h")
endif()
# A file deleted but not yet staged is no longer there to check.
set(_present "")
foreach(_f IN LISTS _files)
  if(EXISTS "${ROOT}/${_f}")
    list(APPEND _present "${_f}")
  endif()
endforeach()
list(LENGTH _present _n)

execute_process(COMMAND ${CLANG_FORMAT} --dry-run -Werror ${_present}
                WORKING_DIRECTORY "${ROOT}" RESULT_VARIABLE _rc ERROR_VARIABLE _err)
if(NOT _rc EQUAL 0)
  # One line per file that needs formatting, then clang-format's own account.
  string(REGEX MATCHALL "[^\n]+:[0-9]+:[0-9]+: error: code should be clang-formatted" _hits "${_err}")
  set(_bad "")
  foreach(_h IN LISTS _hits)
    string(REGEX REPLACE ":[0-9]+:[0-9]+: error:.*$" "" _h "${_h}")
    list(APPEND _bad "${_h}")
  endforeach()
  list(REMOVE_DUPLICATES _bad)
  list(JOIN _bad "\n  " _list)
  # clang-format's own account of the first places, enough to see what differs.
  string(SUBSTRING "${_err}" 0 3000 _err)
  message(FATAL_ERROR "Not formatted (run clang-format -i on them):\n  ${_list}\n\n${_err}")
endif()
message(STATUS "Formatted as .clang-format says: ${_n} files")
