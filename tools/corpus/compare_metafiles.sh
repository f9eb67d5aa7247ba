#!/usr/bin/env bash
# Compares the player's drawing of every metafile of a corpus made by
# make_metafiles.sh with the renderer's: tells the files the player draws
# blank (or not at all) where the renderer draws, the files it crashes on,
# and those whose inked pixels agree with the renderer's on less than half
# of them (the pixels inked in both over those inked in either). Exit status
# 1 when a file is drawn blank or crashes.
#   tools/corpus/compare_metafiles.sh CORPUS_DIR [BUILD_DIR] [PICTURES_DIR]
# PICTURES_DIR receives the player's drawings as PNG.
set -u
corpus=${1:?usage: tools/corpus/compare_metafiles.sh CORPUS_DIR [BUILD_DIR] [PICTURES_DIR]}
build=${2:-build}
tool="$build/tools/metafile_ink"
[ -x "$tool" ] || { echo "compare_metafiles: build $tool first (ninja -C $build metafile_ink)" >&2; exit 2; }
pictures=()
[ -n "${3:-}" ] && { mkdir -p "$3"; pictures=(--pictures "$3"); }
export QT_QPA_PLATFORM=offscreen
files=0 blank=0 crashed=0 unrendered=0 differing=0
for f in "$corpus"/metafiles/*; do
  files=$((files + 1))
  if ! line=$("$tool" --reference "$corpus/reference" "${pictures[@]}" "$f" 2>/dev/null); then
    crashed=$((crashed + 1)); echo "crashed: $(basename "$f")"; continue
  fi
  read -r name ours theirs agree _ <<<"$line"
  if [ "$theirs" -le 0 ]; then
    unrendered=$((unrendered + 1))
  elif [ "$ours" -le 0 ]; then
    blank=$((blank + 1)); echo "blank: $name (the renderer inks $theirs pixels)"
  elif awk "BEGIN { exit !($agree < 0.5) }"; then
    differing=$((differing + 1)); echo "differs: $name (agreement $agree)"
  fi
done
echo "$files files: $blank drawn blank where the renderer draws, $crashed crashed," \
     "$differing agreeing with the renderer on less than half their ink, $unrendered the renderer drew blank"
[ $blank -eq 0 ] && [ $crashed -eq 0 ]
