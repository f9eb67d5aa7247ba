#!/usr/bin/env bash
# The demo as it is installed system-wide: a copy that its player cannot
# write to, played, saved and loaded by an unprivileged user. Run as root,
# whom permissions do not stop, it plays as the user nobody, with copies of
# the player and of what it reads that nobody can reach wherever the build
# tree lies.
#   read_only_demo.sh PLAYER DEMO_DIR PLAY_SCRIPT
set -euo pipefail
player=$1 demo=$2 play=$3
work=$(mktemp -d "${TMPDIR:-/tmp}/loomplay-read-only.XXXXXX")
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
cp -r "$demo" "$work/game"
chmod -R a-w "$work/game"
mkdir "$work/home"
as_user=()
if [ "$(id -u)" -eq 0 ]; then
  if ! command -v setpriv >/dev/null; then
    echo "SKIPPED: running as root without setpriv (Debian package util-linux) to play as another user"
    exit 0
  fi
  chmod 755 "$work"
  mkdir "$work/bin"
  cp "$player" "$play" "$work/bin/"
  # The media module the player loads from beside itself.
  module=$(dirname "$player")/loomplay-media.so
  [ ! -e "$module" ] || cp -L "$module" "$work/bin/"
  player=$work/bin/$(basename "$player") play=$work/bin/$(basename "$play")
  # The sanitizers' suppressions, where a sanitizer build names them.
  if [[ "${LSAN_OPTIONS:-}" =~ suppressions=([^:]*) ]]; then
    cp "${BASH_REMATCH[1]}" "$work/bin/lsan.supp"
    LSAN_OPTIONS=${LSAN_OPTIONS/${BASH_REMATCH[1]}/$work/bin/lsan.supp}
  fi
  chown nobody: "$work/home"
  as_user=(setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups)
fi
"${as_user[@]}" "$play" "$player" "$work/game" "$work/home" own
