# Plays demo/tests/walkthrough.test headless with the player's binary, on a copy of
# the demo (the walkthrough saves a game), and fails on a script error or on
# any error report the player showed.
file(REMOVE_RECURSE ${OUT})
file(COPY ${DEMO}/ DESTINATION ${OUT}/game)
# SHOTS=OFF plays it without pictures: the thread checker's run, for which
# Qt's own image-writing threads are out of sight.
set(shot_options --shots ${OUT}/shots)
if(DEFINED SHOTS AND NOT SHOTS)
  set(shot_options)
endif()
execute_process(
  COMMAND ${PLAYER} --headless --script ${DEMO}/tests/walkthrough.test ${shot_options} --screen 1024x768
          --start-time 2026-01-01T10:00:00 ${OUT}/game
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
