#!/usr/bin/env bash
# Configures and builds the game, its data tree (build/data) and its tests.
set -euo pipefail
cd "$(dirname "$0")"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2
