#!/usr/bin/env bash
# Runs every reader's fuzz target for a given time, in a clang build of its
# own with libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer.
#
#   scripts/fuzz.sh [seconds per target] [targets running at once] [target...]
#
# Defaults: 600 seconds, 2 at once, every target. Each target's corpus grows
# in build-fuzz/corpus/<target> (seeded from the build's seed corpus, and
# for the targets of a save's files from seeds of the costly shapes grown to
# the files' budget, build-fuzz/seeds-near-budget/<target>) and its log is
# build-fuzz/logs/<target>.log; a finding is written to
# build-fuzz/findings/<target>/ and makes the script exit with 1.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh
if ! command -v clang++ >/dev/null; then
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends clang
fi

seconds=${1:-600}
parallel=${2:-2}
shift $(( $# > 2 ? 2 : $# ))
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(csv_reader ini_file string_base map_file map_convert event_xml reports gui_layout save_manifest save_info
           unit_state ai_memory saved_game)
fi

cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug \
  -DTIDEREACH_SANITIZE=ON -DTIDEREACH_FUZZ=ON -DTIDEREACH_BENCH=OFF
cmake --build build-fuzz --parallel "$parallel" --target fuzz_seeds "${targets[@]/#/fuzz_}"
# Made here rather than by the build, so the seed corpora the tests run stay small.
rm -rf build-fuzz/seeds-near-budget
./build-fuzz/tests/fuzz/make_fuzz_seeds . build-fuzz/seeds-near-budget --near-budget

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
mkdir -p build-fuzz/logs

run_one() {
  local target=$1
  local corpus=build-fuzz/corpus/$target findings=build-fuzz/findings/$target
  mkdir -p "$corpus" "$findings"
  # An events file must reach the nesting that once ran the parser out of
  # stack (about 60 KB); libFuzzer's default length of 4,096 bytes never does.
  # A save's file may hold up to its budget (at most 16 MiB; the saved game's input
  # has one byte more, choosing the file), an events file up to 8 MiB, and a
  # file of millions of lines or fields only shows what it costs near there:
  # these targets may take inputs that far, and the RSS limit tells a load
  # that takes too much. Without -len_control=0 libFuzzer holds the length of
  # its mutations to the seeds' for the whole run.
  # Each input runs under a time limit: a reader that takes longer hangs. In
  # this sanitized debug build a whole save with one file near its budget
  # takes tens of seconds where a release build takes one or two (measured
  # with bench/save_load), so those targets' limit is longer.
  local max_len=() timeout=10 seeds=(build-fuzz/tests/fuzz/seeds/"$target")
  case "$target" in
    event_xml) max_len=(-max_len=8388608 -len_control=0) ;;
    csv_reader | save_manifest | save_info | unit_state | ai_memory) max_len=(-max_len=16777216 -len_control=0) timeout=120 ;;
    saved_game) max_len=(-max_len=16777217 -len_control=0) timeout=120 ;;
  esac
  if [ -d build-fuzz/seeds-near-budget/"$target" ]; then seeds+=(build-fuzz/seeds-near-budget/"$target"); fi
  if ./build-fuzz/tests/fuzz/fuzz_"$target" "${max_len[@]}" -max_total_time="$seconds" -timeout="$timeout" -rss_limit_mb=2048 \
      -artifact_prefix="$findings/" -print_final_stats=1 \
      "$corpus" "${seeds[@]}" >build-fuzz/logs/"$target".log 2>&1; then
    echo "$target: no finding in $seconds s ($(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' \
      build-fuzz/logs/"$target".log | grep -o '[0-9]*$') inputs)"
  else
    echo "$target: FINDING, see build-fuzz/logs/$target.log and $findings/"
    return 1
  fi
}

status=0
running=0
pids=()
for target in "${targets[@]}"; do
  run_one "$target" &
  pids+=($!)
  running=$((running + 1))
  if [ "$running" -ge "$parallel" ]; then
    wait -n || status=1
    running=$((running - 1))
  fi
done
while [ "$running" -gt 0 ]; do
  wait -n || status=1
  running=$((running - 1))
done
exit $status
