#!/usr/bin/env bash
# The worker-thread tests and the played turn under ThreadSanitizer, in a build
# of their own (ThreadSanitizer cannot share a build with AddressSanitizer).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh

start=$(date +%s)
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTIDEREACH_TSAN=ON -DTIDEREACH_BENCH=OFF
cmake --build build-tsan --parallel "$(nproc)" --target tests_turn tests_integration game_data
echo "TSan build took $(( $(date +%s) - start )) s"

export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
./build-tsan/tests/tests_turn --gtest_filter='WorkerTest.*:EndOfImpulseTest.*' --gtest_shuffle
(cd build-tsan/tests && ./tests_integration --gtest_filter='PlayTurnTest.*')
