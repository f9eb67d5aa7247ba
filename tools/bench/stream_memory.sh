#!/usr/bin/env bash
# Peak memory of a video and of an MP3 piece as they play, for lengths of
# 2 s, 60 s and 600 s, each in a process of its own (see stream_memory.cpp
# for the goals). The files are made with Debian's ffmpeg in a temporary
# folder: 320x240 MS Video 1 at 15 frames a second with 44.1 kHz stereo PCM
# sound, and MP3 at 128 kbit/s.
# Usage: tools/bench/stream_memory.sh [BENCH_BINARY]
set -euo pipefail
bench=${1:-build/tools/stream_memory}
work=$(mktemp -d "${TMPDIR:-/tmp}/loomplay-streams.XXXXXX")
trap 'rm -rf "$work"' EXIT

for seconds in 2 60 600; do
  ffmpeg -loglevel error -f lavfi -i "testsrc=s=320x240:r=15:d=$seconds" \
    -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=$seconds" \
    -c:v msvideo1 -c:a pcm_s16le -ac 2 "$work/video-$seconds.avi"
  ffmpeg -loglevel error -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=$seconds" \
    -c:a libmp3lame -b:a 128k -ac 2 "$work/music-$seconds.mp3"
done
for kind in video music; do
  for seconds in 2 60 600; do
    file="$work/$kind-$seconds"
    [ "$kind" = video ] && file="$file.avi" || file="$file.mp3"
    printf '%-5s %4s s: %s\n' "$kind" "$seconds" "$(QT_QPA_PLATFORM=offscreen "$bench" "$kind" "$file")"
  done
done
