#!/usr/bin/env bash
# scripts/handover_check.sh says "differ" where the games part: at the turn
# that ends the game, and after a country chosen again when the games do not
# meet by the end of that impulse; a country chosen again whose games meet is
# named, counted and passes. A stand-in autoplay plays a seven-turn game whose
# saves hold only its state; impulses end after turns 2, 5 and 7. In one go,
# country 9 is current after turn 2 and passes turn 3 as a dummy; a load of
# the save after turn 2 chooses country 5, whose turn then shows as state
# "4-" (the pass's mark missing) against the one-go state 4 until turn 5.
# Country 91's pass of turn 3 is no pass of country 9.
# usage: handover_check_test.sh <scripts/handover_check.sh> <scratch folder>
set -euo pipefail

check=$1
work=$2
rm -rf "$work"
mkdir -p "$work/build/game/data/scenarios"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
: >"$work/build/game/lang.db"
cat >"$work/build/autoplay" <<'EOF'
#!/usr/bin/env bash
while [ $# -gt 0 ]; do
  case $1 in
    --root) root=$2 ;; --save) from=$2 ;; --save-as) as=$2 ;; --save-each-turn-as) each=$2 ;; --save-loaded-as) loaded=$2 ;;
  esac
  shift 2
done
saves="$root/data/save"
put() { mkdir -p "$saves/$1" && echo "$2" >"$saves/$1/state"; }
if [ -n "${each:-}" ]; then
  for turn in 1 2 3 4 5 6 7; do put "$each-$turn" "$turn"; done
  printf 'passed_turn=3:9%s\nimpulses=3\ngame_over=1\n' "${FAKE_PASS:-}"
  put "$as" 7
  exit 0
fi
state=0
[ -n "${from:-}" ] && state=$(cat "$saves/$from/state")
[ -n "${loaded:-}" ] && put "$loaded" "$state"
case $state in
  0) next=1 ;; 1) next=2 ;; 2) next=4- ;; 4-) next=5${FAKE_APART:+-} ;; 5) next=6 ;; 6) next="7${FAKE_LAST:+ planted}" ;;
esac
put "$as" "$next"
[ -n "${from:-}" ] && echo "loaded_current_country=$([ "$state" = 2 ] && echo 5 || echo 1)"
case $next in 2 | 5* | 7*) echo impulses=1 ;; *) echo impulses=0 ;; esac
case $next in 7*) echo game_over=1 ;; *) echo game_over=0 ;; esac
printf 'random_state=4\ncurrent_country=%s\n' "$([ "$next" = 2 ] && echo 9 || echo 1)"
EOF
chmod +x "$work/build/autoplay"

code=0
"$check" 1 1 9 1 "$work/build" >"$work/said" || code=$?
[ "$code" -eq 0 ] || fail "a country chosen again whose games met failed: $(cat "$work/said")"
grep -qx 'seed 1: current_country_chosen_again (6 runs; at hand-over 3 the load chose country 5, not the dummy 9, which passed one-go turn 3, met again after turn 4)' \
  "$work/said" || fail "the country chosen again was not named: $(cat "$work/said")"
grep -qx 'seeds=1 match=0 current_country=1 differ_or_failed=0' "$work/said" || fail "not counted: $(cat "$work/said")"

code=0
FAKE_APART=1 "$check" 1 1 9 1 "$work/build" >"$work/said" || code=$?
[ "$code" -eq 1 ] || fail "games that never met again passed: $(cat "$work/said")"
grep -qx 'seed 1: differs after turn 4 (one-go turn 5), played on from a load, and the games did not meet again after the country chosen again at hand-over 3' \
  "$work/said" || fail "the parting was not named: $(cat "$work/said")"

code=0
FAKE_LAST=1 "$check" 1 1 9 1 "$work/build" >"$work/said" || code=$?
[ "$code" -eq 1 ] || fail "a game that ends apart passed: $(cat "$work/said")"
grep -qx 'seed 1: differs after turn 6 (one-go turn 7), played on from a load' "$work/said" ||
  fail "the last turn was not compared: $(cat "$work/said")"
grep -qx 'seeds=1 match=0 current_country=0 differ_or_failed=1' "$work/said" || fail "not counted: $(cat "$work/said")"
code=0
FAKE_PASS=1 "$check" 1 1 9 1 "$work/build" >"$work/said" || code=$?
[ "$code" -eq 1 ] || fail "a pass by another country was taken for the dummy's: $(cat "$work/said")"
grep -qx "seed 1: differs at hand-over 3, the load chose country 5, not 9, whose one-go turn 3 was no dummy's pass" \
  "$work/said" || fail "the choice without a pass was not named: $(cat "$work/said")"

echo "handover_check.sh: met, parted, unpassed and last-turn games judged"
