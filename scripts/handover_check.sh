#!/usr/bin/env bash
# Checks that a game loaded after every country's turn, as a play-by-e-mail
# game is handed over, plays as the game played in one go: for each seed the
# shipped sample is played to the end in one run, saved after every country's
# turn, the turn that ends the game among them; then it is played one
# country's turn per run, each run loading the save of the run before and
# carrying its random state on (tools/autoplay --turns 1, --random-state). At
# every hand-over two things are compared file by file: the loaded game saved
# again at once with the save it was loaded from (a field the load forgets),
# and the save after the turn with the one-go game's save after the same turn.
# A save keeps no current country, so the load chooses it again: when the
# saved game's current country had become a dummy, the one-go game passes its
# turn and the loaded game skips it. That case is named, the comparison goes
# on one turn further in the one-go game, and the seed passes only if the two
# games meet again by the end of that impulse and end equal.
# One line per seed: "match", "current_country_chosen_again" (with where), or
# the first hand-over that differs, with its files; then the counts
# (seeds, match, current_country, differ_or_failed). The exit code is 1 when
# any seed differs or a run failed: exited with another code than 0, or wrote
# a sanitizer report.
#
# usage: scripts/handover_check.sh [first seed] [last seed] [impulses] [games at once] [build dir]
#   defaults: 601 605 30 2 build-test. The sample's games last 72 impulses:
#   72 or more plays every game to its end.
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
  local saves="$dir/game/data/save"
  run() {
    local code=0
    : >"$dir/errors"
    (cd "$dir" && "$build/autoplay" --root "$dir/game" --clock "2000-01-01 00:00" "$@" 2>"$dir/errors") || code=$?
    run_failed "$code" "$dir/errors" && { echo "exit $code: $(head -c 300 "$dir/errors")"; return 1; }
    return 0
  }
  local why
  if ! why=$(run --scenario "$scenario" --impulses "$impulses" --seed "$seed" --save-each-turn-as one_go \
      --save-as one_go >"$dir/one_go"); then
    echo "seed $seed: failed in one go ($why)" >"$dir/report"
    return
  fi
  # A save keeps no current country: the load chooses it again from the
  # turn marks. When the saved game's current country had become a dummy (it
  # surrendered after it was chosen), the one-go game passes its turn and the
  # loaded game skips it: from there on the hand-over game's turn t is the
  # one-go game's turn t + skipped. Its pass stays marked in the one-go
  # game's saves until the end of that impulse clears the marks; by then the
  # two games must meet again.
  local from=(--scenario "$scenario" --seed "$seed") played=0 runs=0 apart skipped=0 turn had chose
  local parted="" notes=""
  while [ "$played" -lt "$impulses" ]; do
    if [ "$runs" -gt 0 ]; then from+=(--save-loaded-as loaded); fi
    if ! why=$(run "${from[@]}" --turns 1 --save-as handed >"$dir/step"); then
      echo "seed $seed: failed in run $((runs + 1)) ($why)" >"$dir/report"
      return
    fi
    runs=$((runs + 1))
    if [ "$runs" -gt 1 ]; then
      apart=$(files_apart "$saves/previous" "$saves/loaded")
      if [ -n "$apart" ]; then
        printf 'seed %s: differs at hand-over %s, the load forgets\n%s\n' "$seed" "$runs" "$apart" >"$dir/report"
        return
      fi
      chose=$(sed -n 's/^loaded_current_country=//p' "$dir/step")
      if [ "$chose" != "$had" ]; then
        turn=$((runs + skipped))
        if ! grep -q "^passed_turn=$turn:$had\$" "$dir/one_go"; then
          echo "seed $seed: differs at hand-over $runs, the load chose country $chose, not $had, whose one-go turn $turn was no dummy's pass" >"$dir/report"
          return
        fi
        skipped=$((skipped + 1))
        parted=$runs
        notes+="; at hand-over $runs the load chose country $chose, not the dummy $had, which passed one-go turn $turn"
      fi
    fi
    turn=$((runs + skipped))
    if [ ! -d "$saves/one_go-$turn" ]; then
      echo "seed $seed: differs at hand-over $runs, the one-go game had no turn $turn" >"$dir/report"
      return
    fi
    apart=$(files_apart "$saves/one_go-$turn" "$saves/handed")
    played=$((played + $(sed -n 's/^impulses=//p' "$dir/step")))
    if [ -n "$apart" ]; then
      # Apart after a country chosen again only until that impulse's end.
      if [ -z "$parted" ] || [ "$(sed -n 's/^impulses=//p' "$dir/step")" != 0 ] || grep -q '^game_over=1$' "$dir/step"; then
        printf 'seed %s: differs after turn %s (one-go turn %s), played on from a load%s\n%s\n' "$seed" "$runs" "$turn" \
          "${parted:+, and the games did not meet again after the country chosen again at hand-over $parted}" "$apart" >"$dir/report"
        return
      fi
    elif [ -n "$parted" ]; then
      notes+=", met again after turn $runs"
      parted=""
    fi
    had=$(sed -n 's/^current_country=//p' "$dir/step")
    rm -rf "$saves/previous" "$saves/loaded" "$saves/one_go-$turn"
    mv "$saves/handed" "$saves/previous"
    grep -q '^game_over=1$' "$dir/step" && break
    from=(--save previous --random-state "$(sed -n 's/^random_state=//p' "$dir/step")")
  done
  local verdict=match
  [ "$skipped" -gt 0 ] && verdict=current_country_chosen_again
  apart=$(files_apart "$saves/one_go" "$saves/previous")
  if [ -z "$apart" ] && [ -z "$parted" ]; then
    echo "seed $seed: $verdict ($runs runs$notes)"
  else
    printf 'seed %s: differs at the end (%s runs%s)\n%s\n' "$seed" "$runs" "$notes" "$apart"
  fi >"$dir/report"
  rm -rf "$dir/game"
}
# The files of two save folders that differ, or lie in one only; nothing when equal.
files_apart() {
  diff -rq "$1" "$2" 2>&1 | sed -E -e 's|^Files .*/([^/]+) and .* differ$|    \1 differs|' \
    -e "s|^Only in $1(/?)(.*): |    only in $(basename "$1")/\2: |" -e "s|^Only in $2(/?)(.*): |    only in $(basename "$2")/\2: |" || true
}
export -f check files_apart
export work build game scenario impulses

seq "$first" "$last" | xargs -P "$jobs" -n 1 bash -c 'check "$0"'

seeds=0; matches=0; chosen=0
for seed in $(seq "$first" "$last"); do
  cat "$work/$seed/report"
  seeds=$((seeds + 1))
  head -n 1 "$work/$seed/report" | grep -q ': match (' && matches=$((matches + 1))
  head -n 1 "$work/$seed/report" | grep -q ': current_country_chosen_again (' && chosen=$((chosen + 1))
done
echo "seeds=$seeds match=$matches current_country=$chosen differ_or_failed=$((seeds - matches - chosen))"
[ "$seeds" -gt 0 ] && [ $((matches + chosen)) -eq "$seeds" ]
