#!/usr/bin/env bash
# Sets up, builds and starts Kwibbel in the player's own play folder. The player's save files there
# (highscores, keys, custom level) are copied from the shipped ones only when missing, so no rebuild
# or update ever overwrites them.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
"$here/setup.sh"
"$here/build.sh" kwibbel
play="${KWIBBEL_PLAY_DIR:-${XDG_DATA_HOME:-$HOME/.local/share}/kwibbel}"
mkdir -p "$play/savefiles"
rm -rf "$play/bitmap" "$play/audio"
cp -r "$here/build/data/bitmap" "$here/build/data/audio" "$play/"
for f in "$here"/build/data/savefiles/*; do
  [ -e "$play/savefiles/$(basename "$f")" ] || cp "$f" "$play/savefiles/"
done
cd "$play"
exec "$here/build/kwibbel"
