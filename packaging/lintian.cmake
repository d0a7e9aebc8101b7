# lintian over the .deb that packaging.deb_contents built: every tag it gives is printed, and
# the test fails on an error. Without lintian the test is skipped (its output says so).
# Run by CTest: cmake -DPACKAGE_DIR=.. -P lintian.cmake
find_program(LINTIAN lintian)
if(NOT LINTIAN)
  message("lintian is not installed: skipped")
  return()
endif()
file(GLOB debs ${PACKAGE_DIR}/brenvik_*.deb)
list(LENGTH debs count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "expected one brenvik_*.deb in ${PACKAGE_DIR}, found: ${debs}")
endif()
# --fail-on error: warnings and information are shown, and reported by the developers.
execute_process(COMMAND ${LINTIAN} --fail-on error --display-info ${debs}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
message("${out}")
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "lintian found errors in ${debs} (exit ${rc}):\n${out}${err}")
endif()
message(STATUS "lintian: no error in ${debs}")
