#!/usr/bin/env bash
# Builds the game (release) with its data and starts it from build/game.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DTIDEREACH_TESTS=OFF
cmake --build build --parallel "$(nproc)"
cd build/game
exec ./tidereach "$@"
