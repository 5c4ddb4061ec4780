#!/usr/bin/env bash
# Builds the sanitized configuration from scratch and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/deps.sh

start=$(date +%s)
rm -rf build-test
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTIDEREACH_SANITIZE=ON -DTIDEREACH_BENCH=OFF
cmake --build build-test --parallel "$(nproc)"
built=$(date +%s)
echo "Build took $((built - start)) s"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
status=0
ctest --test-dir build-test -j"$(nproc)" --output-on-failure || status=$?
echo "Tests took $(( $(date +%s) - built )) s"
exit $status
