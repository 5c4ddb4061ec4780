#!/usr/bin/env bash
# Checks that saved games play on as the unbroken games do: for each seed and
# save point, tools/autoplay --resume-check plays the shipped sample with a
# save at that impulse, loads the save into a fresh game that carries the
# random state over, plays both to the end and compares their logs from the
# save point, their summaries and their final saves. A save point is an
# impulse (the save ends it) or "impulse:turns", a save between two countries'
# turns after that many turns of the next impulse ("0:3": after the third turn
# of the first impulse). One line per case, then the counts: match (all
# equal), plays_alike (same log and end, final saves apart in a last decimal),
# current_country (current_country_chosen_again: the saved game's current
# country had become a dummy and the load chose the next one; the one-go game
# logged that dummy's passed turn and nothing else apart, and both games end
# with the same summary and final save; named, not a match), skipped (the
# game ended first, or the impulse has fewer turns: the line says how many)
# and the rest: a chosen-again whose games end apart counts there, as
# "differs" with its current_country line. Each verdict has its own exit code
# (match 0, differs 4, plays_alike 5, current_country_chosen_again 6, skipped
# 7); a run that exited with another code than its verdict's or wrote a
# sanitizer report has failed, whatever verdict it printed. The exit code is
# 1 when any case neither matches, plays alike, converged after a country
# chosen again nor was skipped, or when no case was checked.
#
# usage: scripts/resume_check.sh [first seed] [last seed] [impulses] [games at once] [build dir] [save points...]
#   defaults: 501 530 60 2 build-test, save points 10 30 50.
set -euo pipefail

first=${1:-501}
last=${2:-530}
impulses=${3:-60}
jobs=${4:-2}
build=${5:-build-test}
shift $(($# < 5 ? $# : 5))
points=${*:-10 30 50}
scenario=NorthernTide

root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=game_copy.sh
. "$root/scripts/game_copy.sh"
prepare_games
trap 'rm -rf "$work"' EXIT

# One case in a game folder of its own: the saves and the log go there.
check() {
  local seed=$1 point=$2 dir="$work/$1-$2"
  local at=(--resume-check "${point%%:*}")
  [[ $point == *:* ]] && at+=(--resume-turn "${point#*:}")
  copy_game "$game" "$dir/game"
  local code=0
  (cd "$dir" && "$build/autoplay" --root "$dir/game" --scenario "$scenario" --impulses "$impulses" \
    --seed "$seed" --save-as resume "${at[@]}" >out 2>errors) || code=$?
  local verdict expected=-1
  verdict=$(sed -n 's/^resume_check=//p' "$dir/out")
  case $verdict in
    match) expected=0 ;;
    differs) expected=4 ;;
    plays_alike) expected=5 ;;
    current_country_chosen_again) expected=6 ;;
    skipped*) expected=7 ;;
  esac
  # A verdict printed by a run that then failed (a leak reported at exit, an
  # exit code other than its verdict's) is no verdict.
  if [ "$code" -ne "$expected" ] || run_failed 0 "$dir/errors"; then
    verdict="failed (exit $code${verdict:+ after \"$verdict\"}: $(grep -m1 -E 'Sanitizer|runtime error:' "$dir/errors" || head -c 200 "$dir/errors"))"
  fi
  {
    echo "seed $seed at $point: $verdict"
    grep -E '^(current_country|loaded_file_differs|one_go_only_line|first_log_difference|one_go_line|resumed_line|differing_file)=' "$dir/out" | sed 's/^/    /' || true
  } >"$dir/report"
  rm -rf "$dir/game"
}
export -f check
export work build game scenario impulses

for seed in $(seq "$first" "$last"); do
  for point in $points; do echo "$seed $point"; done
done | xargs -P "$jobs" -n 2 bash -c 'check "$0" "$1"'

cases=0; matches=0; alike=0; skipped=0; chosen=0
for seed in $(seq "$first" "$last"); do
  for point in $points; do
    cat "$work/$seed-$point/report"
    cases=$((cases + 1))
    head -n 1 "$work/$seed-$point/report" | grep -q ': match$' && matches=$((matches + 1))
    head -n 1 "$work/$seed-$point/report" | grep -q ': plays_alike$' && alike=$((alike + 1))
    head -n 1 "$work/$seed-$point/report" | grep -q ': skipped' && skipped=$((skipped + 1))
    head -n 1 "$work/$seed-$point/report" | grep -q ': current_country_chosen_again$' && chosen=$((chosen + 1))
  done
done
echo "cases=$cases match=$matches plays_alike=$alike skipped=$skipped current_country=$chosen" \
  "differ_or_failed=$((cases - matches - alike - skipped - chosen))"
# A skipped case checked nothing: it passes only beside cases that were checked.
[ $((matches + alike + chosen)) -gt 0 ] && [ $((matches + alike + chosen + skipped)) -eq "$cases" ]
