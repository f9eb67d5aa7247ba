# Runs the demo's own tests as an author's CI does, with loomplay --test on
# demo/tests, and has another program read the JUnit report it writes:
# xmllint (Debian package libxml2-utils), where it is installed.
file(REMOVE ${OUT}/demo-tests.xml)
execute_process(
  COMMAND ${PLAYER} --test ${DEMO} --junit ${OUT}/demo-tests.xml
  RESULT_VARIABLE result
  OUTPUT_VARIABLE output
  ERROR_VARIABLE errors)
message("${output}${errors}")
if(NOT result EQUAL 0)
  message(FATAL_ERROR "The demo's tests failed (${result})")
endif()
find_program(XMLLINT xmllint)
if(XMLLINT)
  execute_process(COMMAND ${XMLLINT} --noout ${OUT}/demo-tests.xml RESULT_VARIABLE lint ERROR_VARIABLE lintErrors)
  if(NOT lint EQUAL 0)
    message(FATAL_ERROR "xmllint cannot read the JUnit report:\n${lintErrors}")
  endif()
endif()
