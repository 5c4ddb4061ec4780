#!/usr/bin/env bash
# Checks that a change leaves every result of the game as it was: the autoplay
# runner plays the sample scenario and the large generated one for 20
# impulses from a fixed seed and saves them; its summary (without the
# "time_" lines), the saves and the whole console log (without the lines
# timing a step, "... TIME = <n> ms") are the outputs compared.
#
#   scripts/golden_outputs.sh record  <build dir> <output dir>
#       Plays with the build's autoplay and stores the outputs.
#   scripts/golden_outputs.sh compare <build dir> <output dir>
#       Plays again and compares with what record stored; exit 1 on a difference.
#   scripts/golden_outputs.sh check   <base revision> [<build dir>]
#       Builds the base revision in a temporary work tree, records its outputs,
#       and compares the given build (default build-golden, configured and
#       built here) against them.
# A build needs the targets autoplay, game_data and large_scenario.
set -euo pipefail

impulses=20
seed=1939
clock="2000-01-01 12:00"
targets=(autoplay game_data large_scenario)

usage() {
  sed -n '2,17p' "$0" | sed 's/^# \{0,1\}//'
  exit 2
}

# Drops the timing lines from a UTF-16LE console log and names the source file
# of the pause, lock and wait lines by its name alone, keeping every other byte.
filter_log() {
  python3 - "$1" "$2" <<'EOF'
import re, sys
text = open(sys.argv[1], 'rb').read().decode('utf-16-le', 'surrogatepass')
timing = re.compile(r'TIME = -?\d+ ms')
# The program logs "S: land_orders : 80", "AC:land_orders:80" and
# "WBC:<class>:land_orders:80"; older builds gave some of these the path the
# compiler saw ("S: /home/x/src/units/land_orders.cpp : 80") or an extension.
# Both become the name alone, so a revision before that change compares too.
name = r'(?:[^\s:]*[/\\])?([^\s:/\\.]+)(?:\.[A-Za-z]+)?'
sources = [(re.compile(r'^S: ' + name + ' :'), r'S: \1 :'),
           (re.compile(r'^(AC|RC):' + name + r':(-?\d+)$'), r'\1:\2:\3'),
           (re.compile(r'^(WBC:[^:]*):' + name + r':(-?\d+)$'), r'\1:\2:\3')]
def named(line):
    for pattern, replacement in sources:
        line = pattern.sub(replacement, line)
    return line
lines = [named(line) for line in text.split('\r\n') if not timing.search(line)]
open(sys.argv[2], 'wb').write('\r\n'.join(lines).encode('utf-16-le', 'surrogatepass'))
EOF
}

# play <build dir> <game root> <scenario> <output dir>
play() {
  local build root scenario out work name
  build=$(cd "$1" && pwd)
  root=$2
  scenario=$3
  out=$4
  name="golden_check"  # fixed, since the log names the save folder
  work=$(mktemp -d)
  mkdir -p "$out"
  # The save goes into the game folder's save folder, made here when the build left none.
  # A linked one holds the player's saves (./run.sh links build/game's), which are not played over.
  if [ -L "$root/data/save" ]; then
    echo "$root/data/save is a link to the player's saves: use a build folder of its own" >&2
    return 1
  fi
  local made_saves=""
  rm -rf "${root:?}/data/save/$name"
  if [ ! -d "$root/data/save" ]; then
    mkdir -p "$root/data/save"
    made_saves=1
  fi
  (cd "$work" && "$build/autoplay" --root "$root" --scenario "$scenario" --impulses "$impulses" --seed "$seed" \
      --save-as "$name" --clock "$clock") >"$work/summary.txt" 2>"$work/errors.txt" || {
    echo "autoplay failed on $scenario:" >&2
    cat "$work/errors.txt" >&2
    rm -rf "$work" "$root/data/save/$name"
    [ -z "$made_saves" ] || rmdir "$root/data/save" 2>/dev/null || true
    return 1
  }
  grep -v '^time_' "$work/summary.txt" | sed "s/^saved_as=.*/saved_as=(name)/" >"$out/summary.txt"
  filter_log "$work/ConsoleOut.txt" "$out/ConsoleOut.txt"
  rm -rf "$out/save"
  mv "$root/data/save/$name" "$out/save"
  [ -z "$made_saves" ] || rmdir "$root/data/save" 2>/dev/null || true
  rm -rf "$work"
}

record() {
  local build out
  build=$(cd "$1" && pwd)
  out=$2
  [ -x "$build/autoplay" ] || { echo "no autoplay in $build" >&2; exit 2; }
  rm -rf "$out"
  mkdir -p "$out"
  play "$build" "$build/game" NorthernTide "$out/NorthernTide"
  play "$build" "$build/large_game" Large "$out/Large"
}

compare() {
  local build expected fresh status
  build=$1
  expected=$2
  fresh=$(mktemp -d)
  record "$build" "$fresh/outputs"
  status=0
  if diff -r "$expected" "$fresh/outputs" >"$fresh/diff.txt"; then
    echo "golden outputs: identical ($(find "$expected" -type f | wc -l) files)"
  else
    echo "golden outputs: DIFFERENT" >&2
    head -40 "$fresh/diff.txt" >&2
    status=1
  fi
  rm -rf "$fresh"
  return $status
}

build_release() {
  local source build
  source=$1
  build=$2
  cmake -S "$source" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTIDEREACH_TESTS=OFF -DTIDEREACH_BENCH=OFF >/dev/null
  cmake --build "$build" -j4 --target "${targets[@]}" >/dev/null
}

check() {
  local base build here tree status
  base=$1
  here=$(cd "$(dirname "$0")/.." && pwd)
  build=${2:-$here/build-golden}
  tree=$(mktemp -d)/base
  git -C "$here" worktree add --detach "$tree" "$base" >/dev/null
  status=0
  build_release "$tree" "$tree/build" && record "$tree/build" "$tree/outputs" || status=$?
  if [ $status -eq 0 ]; then
    [ -n "${2:-}" ] || build_release "$here" "$build"
    compare "$build" "$tree/outputs" || status=$?
  fi
  git -C "$here" worktree remove --force "$tree"
  return $status
}

[ $# -ge 2 ] || usage
case "$1" in
  record) [ $# -eq 3 ] || usage; record "$2" "$3" ;;
  compare) [ $# -eq 3 ] || usage; compare "$2" "$3" ;;
  check) [ $# -le 3 ] || usage; check "$2" "${3:-}" ;;
  *) usage ;;
esac
