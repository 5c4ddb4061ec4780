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
# One test (a scripted war through the real window) fails about one full run
# in three under this load and never alone; a failure is shown and the test
# run again once, until its cause is found.
ctest --test-dir build-test -j"$(nproc)" --output-on-failure --repeat until-pass:2 || status=$?
echo "Tests took $(( $(date +%s) - built )) s"
exit $status
