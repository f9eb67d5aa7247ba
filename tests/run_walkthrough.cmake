# Plays demo/walkthrough.txt headless and fails on a script error or on any
# error report the player showed.
execute_process(
  COMMAND ${PLAYER} --headless --script ${DEMO}/walkthrough.txt --shots ${OUT} --screen 1024x768
          --start-time 2026-01-01T10:00:00 ${DEMO}
  RESULT_VARIABLE result
  OUTPUT_VARIABLE output
  ERROR_VARIABLE errors)
file(WRITE ${OUT}/walkthrough.jsonl "${output}")
if(NOT result EQUAL 0)
  message(FATAL_ERROR "The walkthrough failed (${result}):\n${output}\n${errors}")
endif()
if(output MATCHES "\"icon\":\"critical\"")
  message(FATAL_ERROR "The walkthrough showed an error report:\n${output}")
endif()
