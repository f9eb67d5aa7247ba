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
include(${CMAKE_CURRENT_LIST_DIR}/play_walkthrough.cmake)
play_walkthrough(${DEMO}/tests/walkthrough.test ${OUT}/game output ${shot_options})
file(RENAME ${OUT}/game.jsonl ${OUT}/walkthrough.jsonl)
