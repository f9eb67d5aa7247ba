#!/usr/bin/env bash
# How the memory of a long headless run grows: plays the demo with scripts of
# 10,000 and 100,000 lines (pointer moves, right clicks that toggle the menus,
# waits, and a dump every 20 lines) and prints the peak resident size of each
# run and the growth from the short run to the long one.
# Usage: tools/bench/headless_memory.sh [PLAYER] [DEMO_DIR]
set -euo pipefail
player=${1:-build/loomplay}
demo=${2:-demo}
work=$(mktemp -d "${TMPDIR:-/tmp}/loomplay-memory.XXXXXX")
trap 'rm -rf "$work"' EXIT
cp -r "$demo" "$work/game"

script() {
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

peak_kb() {
  local lines=$1
  script "$lines" >"$work/script-$lines.txt"
  /usr/bin/time -f '%M' -o "$work/rss-$lines" \
    "$player" --headless --script "$work/script-$lines.txt" --settings "$work/settings" \
    --start-time 2026-01-01T10:00:00 "$work/game" | { grep '"type":"error"' || true; } >"$work/errors-$lines"
  if [ -s "$work/errors-$lines" ]; then
    cat "$work/errors-$lines" >&2
    exit 1
  fi
  cat "$work/rss-$lines"
}

short=$(peak_kb ${SHORT:-10000})
long=$(peak_kb ${LONG:-100000})
echo "peak resident size: 10,000 lines ${short} KiB, 100,000 lines ${long} KiB"
awk -v a="$short" -v b="$long" 'BEGIN { printf "growth: %.1f %%\n", (b - a) * 100 / a }'
