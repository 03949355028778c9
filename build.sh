#!/usr/bin/env bash
# Configures and builds into build/: with no arguments everything (game, data tree build/data, tests),
# otherwise the named targets only (./build.sh kwibbel: the game and its data).
set -euo pipefail
cd "$(dirname "$0")"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
if [ $# -gt 0 ]; then
  cmake --build build -j2 --target "$@"
else
  cmake --build build -j2
fi
