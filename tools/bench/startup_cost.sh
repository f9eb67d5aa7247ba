#!/usr/bin/env bash
# What start-up costs against a minimal Qt window: the player started on
# the demo, headless and offscreen, up to its welcome window (a script of
# one dump line), and minimal_window, an empty QWidget shown and closed at
# once, and the same window showing one line of text (which pays for the
# desktop's font database, as every window a person reads does). Runs them in turns, ROUNDS times each, and prints the medians of
# CPU time (user + system) and of peak resident memory, and their ratios.
# Goal: start-up within 1.3x the window's CPU time and peak memory within
# 1.5x its own (the media module is not loaded until something plays).
# Usage: tools/bench/startup_cost.sh [BUILD_DIR] [DEMO_DIR] [ROUNDS]
set -euo pipefail
build=${1:-build}
demo=${2:-demo}
rounds=${3:-21}
player=$build/loomplay
floor=$build/tools/minimal_window
for program in "$player" "$floor"; do
  [[ -x $program ]] || { echo "missing $program: build it first" >&2; exit 2; }
done
work=$(mktemp -d "${TMPDIR:-/tmp}/loomplay-startup.XXXXXX")
trap 'rm -rf "$work"' EXIT
echo dump > "$work/script.txt"
export QT_QPA_PLATFORM=offscreen

# One run: "CPU_MS PEAK_KB", from the child's resource usage (to the
# microsecond, where time(1) rounds to 10 ms).
measure() {
  python3 -c '
import os, subprocess, sys
child = subprocess.Popen(sys.argv[1:], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
_, status, usage = os.wait4(child.pid, 0)
if os.waitstatus_to_exitcode(status) != 0:
    sys.exit("failed: " + " ".join(sys.argv[1:]))
print("%.1f %d" % ((usage.ru_utime + usage.ru_stime) * 1000, usage.ru_maxrss))
' "$@"
}

# A warm-up run of each, so that neither pays for a cold file cache.
measure "$player" --headless --script "$work/script.txt" "$demo" > /dev/null
measure "$floor" > /dev/null
: > "$work/player"
: > "$work/floor"
: > "$work/text"
for ((i = 0; i < rounds; i++)); do
  measure "$player" --headless --script "$work/script.txt" "$demo" >> "$work/player"
  measure "$floor" >> "$work/floor"
  measure "$floor" --text >> "$work/text"
done

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'; }
player_cpu=$(cut -d' ' -f1 "$work/player" | median)
floor_cpu=$(cut -d' ' -f1 "$work/floor" | median)
text_cpu=$(cut -d' ' -f1 "$work/text" | median)
player_kb=$(cut -d' ' -f2 "$work/player" | median)
floor_kb=$(cut -d' ' -f2 "$work/floor" | median)
text_kb=$(cut -d' ' -f2 "$work/text" | median)
awk -v pc="$player_cpu" -v fc="$floor_cpu" -v tc="$text_cpu" -v pk="$player_kb" -v fk="$floor_kb" -v tk="$text_kb" -v n="$rounds" 'BEGIN {
  printf "%-22s %12s %14s\n", "medians of " n, "CPU ms", "peak MB"
  printf "%-22s %12.1f %14.1f\n", "loomplay", pc, pk / 1024
  printf "%-22s %12.1f %14.1f\n", "minimal window", fc, fk / 1024
  printf "%-22s %12.1f %14.1f\n", "window with text", tc, tk / 1024
  printf "%-22s %11.2fx %13.2fx   (goals 1.30x, 1.50x)\n", "ratio to the window", pc / fc, pk / fk
  printf "%-22s %11.2fx %13.2fx\n", "ratio to text", pc / tc, pk / tk
}'
