#!/usr/bin/env bash
# Checks that a game loaded after every country's turn, as a play-by-e-mail
# game is handed over, plays as the game played in one go: for each seed the
# shipped sample is played to the end in one run and saved; then it is played
# one country's turn per run, each run loading the save of the run before and
# carrying its random state on (tools/autoplay --turns 1, --random-state), and
# the two final saves are compared file by file. One line per seed, then the
# counts; the exit code is 1 when any seed's saves differ or a run failed.
#
# usage: scripts/handover_check.sh [first seed] [last seed] [impulses] [games at once] [build dir]
#   defaults: 601 605 30 2 build-test.
set -euo pipefail

first=${1:-601}
last=${2:-605}
impulses=${3:-30}
jobs=${4:-2}
build=${5:-build-test}
scenario=NorthernTide

root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=game_copy.sh
. "$root/scripts/game_copy.sh"
prepare_games
trap 'rm -rf "$work"' EXIT

# One seed in a game folder of its own: the saves and the log go there.
check() {
  local seed=$1 dir="$work/$1"
  copy_game "$game" "$dir/game"
  run() { (cd "$dir" && "$build/autoplay" --root "$dir/game" --clock "2000-01-01 00:00" "$@" 2>>errors); }
  if ! run --scenario "$scenario" --impulses "$impulses" --seed "$seed" --save-as one_go >"$dir/one_go"; then
    echo "seed $seed: failed in one go ($(head -c 200 "$dir/errors"))" >"$dir/report"
    return
  fi
  local from=(--scenario "$scenario" --seed "$seed") played=0 runs=0
  while [ "$played" -lt "$impulses" ]; do
    if ! run "${from[@]}" --turns 1 --save-as handed >"$dir/step"; then
      echo "seed $seed: failed in run $((runs + 1)) ($(head -c 200 "$dir/errors"))" >"$dir/report"
      return
    fi
    runs=$((runs + 1))
    played=$((played + $(sed -n 's/^impulses=//p' "$dir/step")))
    grep -q '^game_over=1$' "$dir/step" && break
    from=(--save handed --random-state "$(sed -n 's/^random_state=//p' "$dir/step")")
  done
  local apart
  apart=$(cd "$dir/game/data/save" && diff -rq one_go handed 2>&1 | sed 's/^/    /' || true)
  {
    if [ -z "$apart" ]; then echo "seed $seed: match ($runs runs)"; else echo "seed $seed: differs ($runs runs)"; fi
    [ -z "$apart" ] || echo "$apart"
  } >"$dir/report"
  rm -rf "$dir/game"
}
export -f check
export work build game scenario impulses

seq "$first" "$last" | xargs -P "$jobs" -n 1 bash -c 'check "$0"'

seeds=0; matches=0
for seed in $(seq "$first" "$last"); do
  cat "$work/$seed/report"
  seeds=$((seeds + 1))
  head -n 1 "$work/$seed/report" | grep -q ': match (' && matches=$((matches + 1))
done
echo "seeds=$seeds match=$matches differ_or_failed=$((seeds - matches))"
[ "$matches" -eq "$seeds" ]
