# play_walkthrough(SCRIPT GAME OUTPUT_VARIABLE [OPTION...]): plays a script
# headless with the player's binary (PLAYER) on the game folder GAME, at a
# fixed screen and start time, and writes what it printed to GAME.jsonl;
# fails on a script error or on any error report the player showed.
function(play_walkthrough script game output_var)
  execute_process(
    COMMAND ${PLAYER} --headless --script ${script} ${ARGN} --screen 1024x768
            --start-time 2026-01-01T10:00:00 ${game}
    RESULT_VARIABLE result
    OUTPUT_VARIABLE output
    ERROR_VARIABLE errors)
  file(WRITE ${game}.jsonl "${output}")
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${script} failed (${result}):\n${output}\n${errors}")
  endif()
  if(output MATCHES "\"icon\":\"critical\"")
    message(FATAL_ERROR "${script} showed an error report:\n${output}")
  endif()
  set(${output_var} "${output}" PARENT_SCOPE)
endfunction()
