#!/usr/bin/env bash
# Sets up, builds and starts Kwibbel. The game reads its pictures and sounds from the build and keeps the
# player's save files (highscores, keys, custom level) in the player's play folder
# (~/.local/share/kwibbel), which it makes on its first run; no rebuild or update ever overwrites them.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
"$here/setup.sh"
"$here/build.sh" kwibbel
# Earlier versions of this script copied the pictures and sounds into the play folder; the game reads them
# from the build now.
play="${XDG_DATA_HOME:-$HOME/.local/share}/kwibbel"
rm -rf "$play/bitmap" "$play/audio"
exec "$here/build/kwibbel"
