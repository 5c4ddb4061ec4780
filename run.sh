#!/usr/bin/env bash
# Builds the game (release) with its data and starts it from build/game,
# whose saves and turns are kept in the user's data folder.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/deps.sh
# The saves and turns are the player's, kept outside the build and linked
# into its game folder before the build looks for them.
./scripts/keep_saves.sh build/game
# Only the program and the game data it depends on: the tests, the benchmarks
# and the headless drivers are ./test.sh's.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DTIDEREACH_TESTS=OFF -DTIDEREACH_BENCH=OFF
cmake --build build --parallel "$(nproc)" --target tidereach
cd build/game
exec ./tidereach "$@"
