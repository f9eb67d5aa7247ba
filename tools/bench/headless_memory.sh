#!/usr/bin/env bash
# How the memory of a long headless run grows. Plays the demo with a short
# and a long script of each kind and prints the peak resident size of each
# run and the growth from the short run to the long one:
#  - input: 10,000 and 100,000 lines of pointer moves, right clicks that
#    toggle the menus, waits, and a dump every 20 lines;
#  - frames: 200 and 2,000 frames opened, going between the shore and the
#    stairs, each open unloading the areas of the frame before;
#  - saves: 20 and 300 cycles of saving on the stairs, quitting to the
#    welcome window and loading the save again.
# Goal: the long run of each kind peaks within 5 % of its short run; a
# kept frame shows as megabytes (a few hundred kilobytes a frame).
# Usage: tools/bench/headless_memory.sh [PLAYER] [DEMO_DIR]
set -euo pipefail
player=${1:-build/loomplay}
demo=${2:-demo}
work=$(mktemp -d "${TMPDIR:-/tmp}/loomplay-memory.XXXXXX")
trap 'rm -rf "$work"' EXIT

input_script() {
  local lines=$1
  echo "click Img(0)"
  awk -v n="$lines" 'BEGIN {
    for (i = 1; i < n; i++) {
      k = i % 20
      if (k == 0) print "dump"
      else if (k == 7) print "click-at 320 240 right"
      else if (k % 2) print "move-at " (i * 37 % 640) " " (i * 53 % 480)
      else print "wait 50"
    }
  }'
}

frames_script() {
  local opens=$1
  echo "click Img(0)"
  awk -v n="$opens" 'BEGIN {
    for (i = 1; i <= n; i++) {
      print (i % 2 ? "click Area(1)" : "click Area(2)")
      if (i % 100 == 0) print "dump"
    }
  }'
}

saves_script() {
  local cycles=$1
  echo "click Img(0)"
  echo "click Area(1)"
  awk -v n="$cycles" 'BEGIN {
    for (i = 1; i <= n; i++) {
      print "key S"
      print "type frmSaveGame.Text1 stairs"
      # From the second save on, the box that asks to replace it says OK.
      if (i > 1) print "answer ok"
      print "click frmSaveGame.Command2"
      print "key Q"
      print "answer yes"
      print "wait 100"
      print "click Img(1)"
      print "select frmLoadGame.List1 stairs"
      print "click frmLoadGame.Command2"
    }
    print "dump"
  }'
}

# Peak resident size in KiB of a run of one script on a fresh copy of the
# demo with settings of its own; an error line fails the benchmark.
peak_kb() {
  local kind=$1 size=$2 run="$work/$1-$2"
  mkdir -p "$run"
  cp -r "$demo" "$run/game"
  "${kind}_script" "$size" >"$run/script.txt"
  /usr/bin/time -f '%M' -o "$run/rss" \
    "$player" --headless --script "$run/script.txt" --settings "$run/settings" \
    --start-time 2026-01-01T10:00:00 "$run/game" | { grep '"type":"error"' || true; } >"$run/errors"
  if [ -s "$run/errors" ]; then
    cat "$run/errors" >&2
    exit 1
  fi
  cat "$run/rss"
}

# One kind of script, short and long: both peaks and the growth.
compare() {
  local kind=$1 short=$2 long=$3 unit=$4
  local a b
  a=$(peak_kb "$kind" "$short")
  b=$(peak_kb "$kind" "$long")
  echo "$kind: peak resident size: $short $unit ${a} KiB, $long $unit ${b} KiB"
  awk -v a="$a" -v b="$b" -v k="$kind" 'BEGIN { printf "%s: growth: %.1f %%\n", k, (b - a) * 100 / a }'
}

compare input "${SHORT:-10000}" "${LONG:-100000}" lines
compare frames "${FRAMES_SHORT:-200}" "${FRAMES_LONG:-2000}" "frames opened"
compare saves "${SAVES_SHORT:-20}" "${SAVES_LONG:-300}" "saves loaded"
