# Plays the demo's walkthrough twice headless, each on a fresh copy of the
# demo in the same folder (the paths in the state are the same):
# as demo/tests/walkthrough.test plays it with the mouse, and with the keyboard alone
# (KEYS). Fails unless both end in the same state: the frame, history,
# variables, removed areas, inventory, timers, media, saved games and clock
# of the last dump.
include(${CMAKE_CURRENT_LIST_DIR}/play_walkthrough.cmake)

function(play script name result_var)
  file(REMOVE_RECURSE ${OUT}/game)
  file(COPY ${DEMO}/ DESTINATION ${OUT}/game)
  play_walkthrough(${script} ${OUT}/game output)
  file(RENAME ${OUT}/game.jsonl ${OUT}/${name}.jsonl)
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
