#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test. Non-zero on any failure.
#   ./test.sh               the normal build, in build/
#   ./test.sh --sanitize    the same tests built with AddressSanitizer and
#                           UndefinedBehaviorSanitizer, in build-asan/
#   ./test.sh --thread      the tests of the threads (media, files, saves) and
#                           the demo's walkthrough built with ThreadSanitizer,
#                           in build-tsan/
# Further arguments go to ctest (e.g. -R OpenFrame).
set -eu
cd "$(dirname "$0")"
scripts/install-deps
dir=build
flags=()
if [ "${1:-}" = "--sanitize" ]; then
  shift
  dir=build-asan
  flags=(-DLOOM_SANITIZE=ON)
  # Leaks of the system's own libraries are theirs; every other report fails the test.
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
  export LSAN_OPTIONS=suppressions=$PWD/tools/sanitizers/lsan.supp:print_suppressions=0
  export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
elif [ "${1:-}" = "--thread" ]; then
  shift
  dir=build-tsan
  flags=(-DLOOM_THREAD_SANITIZE=ON)
  # Any report fails the test that made it.
  export TSAN_OPTIONS="halt_on_error=1:exitcode=66:second_deadlock_stack=1:suppressions=$PWD/tools/sanitizers/tsan.supp"
  # Where the player's threads meet: the MP3 worker, the feeder of streamed
  # sound and the video decoder,
  # the file lookups the worker shares with the window's thread, saved
  # games, and a whole run of the demo. Left out: synthesis at the pace of
  # real time (the synthesiser's OpenMP workers) and screenshots (Qt's image
  # threads), whose libraries the checker cannot see into.
  set -- -R '^(Music|Sound|StreamedSound|Video|VideoFiles|AudioVoices|AudioSignals|FileResolver|CodePage|SavedGames|TerminationSignals)\.|^demo_walkthrough_without_shots$' "$@"
fi
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLOOM_TESTS=ON -DLOOM_WERROR=ON "${flags[@]}" >/dev/null
cmake --build "$dir"
ctest --test-dir "$dir" --output-on-failure --no-tests=error -j2 "$@"
