# Plays the demo's walkthrough twice headless, each on a fresh copy of the
# demo in the same folder (the paths in the state are the same):
# as demo/tests/walkthrough.test plays it with the mouse, and with the keyboard alone
# (KEYS). Fails unless both end in the same state: the frame, history,
# variables, removed areas, inventory, timers, media, saved games and clock
# of the last dump.
function(play script name result_var)
  file(REMOVE_RECURSE ${OUT}/game)
  file(COPY ${DEMO}/ DESTINATION ${OUT}/game)
  execute_process(
    COMMAND ${PLAYER} --headless --script ${script} --screen 1024x768 --start-time 2026-01-01T10:00:00 ${OUT}/game
    RESULT_VARIABLE result
    OUTPUT_VARIABLE output
    ERROR_VARIABLE errors)
  file(WRITE ${OUT}/${name}.jsonl "${output}")
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${script} failed (${result}):\n${output}\n${errors}")
  endif()
  if(output MATCHES "\"icon\":\"critical\"")
    message(FATAL_ERROR "${script} showed an error report")
  endif()
  # A dump is one line, its members in name order: the last one starts at
  # the last "CDCancelled".
  string(FIND "${output}" "{\"CDCancelled\"" start REVERSE)
  if(start EQUAL -1)
    message(FATAL_ERROR "${script} dumped nothing")
  endif()
  string(SUBSTRING "${output}" ${start} -1 dump)
  string(FIND "${dump}" "\n" end)
  string(SUBSTRING "${dump}" 0 ${end} dump)
  set(${result_var} "${dump}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${OUT})
play(${DEMO}/tests/walkthrough.test mouse by_mouse)
play(${KEYS} keys by_keys)
foreach(member game media saves time)
  string(JSON mouse_state GET "${by_mouse}" ${member})
  string(JSON keys_state GET "${by_keys}" ${member})
  string(JSON same EQUAL "${mouse_state}" "${keys_state}")
  if(NOT same)
    message(FATAL_ERROR "Played with keys, the walkthrough ends with another ${member}:\nmouse: ${mouse_state}\nkeys:  ${keys_state}")
  endif()
endforeach()
