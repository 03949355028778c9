#!/usr/bin/env bash
# Sets up, builds and runs every test: game logic headless, the window and sound layers on SDL's dummy
# and disk drivers, and the whole program under Xvfb driven by xdotool.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
"$here/setup.sh"
"$here/build.sh"
cd "$here/build"
ctest --output-on-failure -j2 --timeout 600
