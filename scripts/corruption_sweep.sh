#!/usr/bin/env bash
# Loads every corruption of the built sample scenario and plays it a few
# impulses in the sanitized build; prints the cases that broke a rule of the
# game or ended in a sanitizer report.
# Usage: scripts/corruption_sweep.sh [jobs] [impulses] [--save|--scenario] [pattern]
# (--save corrupts a saved game of the sample instead of the scenario; a
# pattern keeps the cases whose description matches it, e.g. consts.csv)
set -uo pipefail
cd "$(dirname "$0")/.."
jobs=${1:-4}
impulses=${2:-3}
kind=${3:-}
[ "$kind" = "--scenario" ] && kind=
pattern=${4:-.}
cmake --build build-test --target corruption_sweep game_data >/dev/null || exit 1
sweep="build-test/tests/corruption_sweep $kind"
out=$(mktemp -d)
export ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
$sweep --list | grep -E -- "$pattern" | cut -d' ' -f1 >"$out/cases"
count=$(wc -l <"$out/cases")
# A sweep that ran no case checked nothing.
[ "$count" -gt 0 ] || { echo "sweep: no case matches '$pattern'" >&2; rm -rf "$out"; exit 1; }
xargs -P "$jobs" -I{} sh -c \
  "$sweep --case {} --impulses $impulses >'$out/{}.log' 2>&1 || echo {} >>'$out/failed'" <"$out/cases"
failed=0
if [ -f "$out/failed" ]; then
  for n in $(sort -n "$out/failed"); do
    failed=$((failed + 1))
    echo "== case $n: $($sweep --list | sed -n "$((n + 1))p")"
    grep -m3 -E "runtime error|ERROR: AddressSanitizer|invariant broken|fatal exit|SUMMARY" "$out/$n.log" || tail -3 "$out/$n.log"
  done
fi
echo "sweep: $((count - failed)) of $count cases kept the rules"
rm -rf "$out"
[ "$failed" -eq 0 ]
