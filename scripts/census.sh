#!/usr/bin/env bash
# Plays whole all-computer games of the shipped sample with tools/autoplay,
# a few at a time, and counts from each game's summary and console log what
# the war did: one table row per seed, then the totals.
#
# usage: scripts/census.sh [first seed] [last seed] [games at once] [build dir] [game folder]
#   defaults: 11 40 2 build <build dir>/game (a Release build: cmake -DCMAKE_BUILD_TYPE=Release);
#   another game folder plays its data with the same program.
# Columns: winner; sea battles (all, and after an alliance lost its last
# country able to lead it); raider battles (a raider found by a fleet) and
# raiders' surprise attacks that found a target; convoy attacks; landings;
# "cant find appropriate city" lines; land units aboard 10 or more impulses
# running (and the longest stay); delivered reserve units not placed for 10
# or more impulses; order-6 path errors; land units of a country at war that
# stood on one hex 10 or more impulses running, whatever their orders (the
# longest stay, and the stays with no order or a reserve order for 20 or more
# of their impulses while the country had a front);
# land units stepping back and
# forth between two hexes 5 and 10 or more impulses running; whether Rusmark
# (5) and Nordvik (8) dealt each other losses; invasions given up (and of them
# those given up before reaching their landing zone); the most impulses running
# in which a country searched for a landing hex and landed nobody. After the
# totals, each game's alternating units and long stays, by name, with the
# orders each unit held during its stay.
# A game whose run failed (an exit code other than 0, or a sanitizer report)
# is named at the end and the census exits with 1.
set -euo pipefail

first=${1:-11}
last=${2:-40}
jobs=${3:-2}
build=${4:-build}
scenario=NorthernTide
impulses=72

root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=game_copy.sh
. "$root/scripts/game_copy.sh"
build=$(cd "$root" && cd "$build" && pwd)
game=$(cd "$root" && cd "${5:-$build/game}" && pwd)
[ -x "$build/autoplay" ] || { echo "no $build/autoplay: build it first" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# One game in a game folder of its own: the console log is written into the
# game folder the program is given.
play() {
  local seed=$1 dir="$work/$1"
  mkdir -p "$dir/game"
  cp -r "$game/data" "$dir/game/"
  cp "$game"/*.db "$dir/game/"
  [ -f "$game/Settings.ini" ] && cp "$game/Settings.ini" "$dir/game/"
  local code=0
  (cd "$dir" && "$build/autoplay" --root "$dir/game" --scenario "$scenario" --impulses "$impulses" \
    --seed "$seed" >summary 2>errors) || code=$?
  if run_failed "$code" "$dir/errors"; then
    echo "seed $seed: autoplay failed (exit $code): $(head -c 300 "$dir/errors")" >&2
    echo "$code" >"$dir/failed"
  fi
  iconv -f UTF-16LE -t UTF-8 "$dir/game/ConsoleOut.txt" | tr -d '\r' >"$dir/log"
  rm -rf "$dir/game"
}
export -f play
export work build game scenario impulses

seq "$first" "$last" | xargs -P "$jobs" -I{} bash -c 'play {}'

count() { grep -c -- "$1" "$2" || true; }
value() { sed -n "s/^$1=//p" "$2"; }

printf '%-5s %-28s %5s %7s %6s %9s %7s %8s %6s %6s %6s %7s %7s %5s %6s %7s %6s %6s %5s %6s %5s %6s\n' \
  seed winner sea sea_nl raider surprise convoy landings nocity aboard "(most)" reserve order6 stays "(most)" aimless alt5 alt10 "5-8" gaveup atsea search
declare -A wins=()
games=0; with_raiders=0; fights58=0; leaderless=0
total_gaveup=0; total_atsea=0; longest_search=0
total_cities=0; total_aboard=0; total_reserve=0; total_order6=0; total_raider=0; total_surprise=0; total_sea_nl=0
total_stays=0; longest_stay=0; total_aimless=0; total_alt5=0; total_alt10=0; most_order6=0; games_alt=0
for seed in $(seq "$first" "$last"); do
  d="$work/$seed"
  log="$d/log"; sum="$d/summary"
  winner=$(value result "$sum"); winner=${winner:-(none)}  # a failed run may print no result
  sea=$(grep -c -E '^(Check succeeded, starting battle|Check succeeded\. Starting battle\.)' "$log" || true)
  # Sea battles from the first impulse in which an alliance had nobody left to lead it.
  sea_nl=$(awk '/^Could not determine new leader/ {lost = 1} lost && /^Check succeeded(, starting battle|\. Starting battle\.)/ {n++} END {print n + 0}' "$log")
  grep -q '^Could not determine new leader' "$log" && leaderless=$((leaderless + 1))
  raider=$(count 'fleets have met the enemy raider' "$log")
  surprise=$(awk '/tries to launch a surprise attack: check passed/ {tried = 1; next} tried && /^Target chosen: / {n++} {tried = 0} END {print n + 0}' "$log")
  convoy=$(count '^Convoy attacked on ' "$log")
  landings=$(grep -c -E '^\[AI\] .*: Amphibious invasion - .* landed at \(' "$log" || true)
  nocity=$(count 'cant find appropriate city' "$log")
  aboard=$(value long_aboard_stays "$sum"); longest=$(value longest_aboard "$sum")
  reserve=$(value long_reserve_waits "$sum")
  order6=$(count 'Nie znaleziono sciezki dla rozkazu nr 6' "$log")
  stays=$(value long_stays_at_war "$sum"); stay=$(value longest_stay_at_war "$sum")
  aimless=$(value aimless_stays_at_war "$sum"); alt5=$(value alternating_5 "$sum"); alt10=$(value alternating_10 "$sum")
  losses=$(value losses "$sum")
  gaveup=$(grep -c -E '^\[AI\] .*: Amphibious invasion - .* (cannot land near|cannot reach the landing zone of) \(' "$log" || true)
  atsea=$(count ': Amphibious invasion - .* cannot reach the landing zone of (' "$log")
  # Each country's turns, from its "NEW TURN" line: a turn that searched for a
  # landing hex and landed nobody lengthens the country's run.
  search=$(awk '
    function close_turn(c) { if (c == "") return; run[c] = (searched[c] && !landed[c]) ? run[c] + 1 : 0
                             if (run[c] > most) most = run[c]; searched[c] = landed[c] = 0 }
    /^\[AI\] .*: NEW TURN$/ { c = substr($0, 6, length($0) - 15); close_turn(c); current = c; next }
    /^\[AI\] .*: Amphibious invasion - finding hex to land\.\.\./ { searched[current] = 1 }
    /^\[AI\] .*: Amphibious invasion - .* landed at \(/ { landed[current] = 1 }
    END { for (c in run) close_turn(c); print most + 0 }' "$log")
  fought=no
  if [[ ",$losses" == *",5>8:"* || ",$losses" == *",8>5:"* ]]; then fought=yes; fights58=$((fights58 + 1)); fi
  printf '%-5s %-28s %5s %7s %6s %9s %7s %8s %6s %6s %-7s %7s %7s %5s %6s %7s %6s %6s %5s %6s %5s %6s\n' \
    "$seed" "$winner" "$sea" "$sea_nl" "$raider" "$surprise" "$convoy" "$landings" "$nocity" "$aboard" "($longest)" \
    "$reserve" "$order6" "$stays" "($stay)" "$aimless" "$alt5" "$alt10" "$fought" "$gaveup" "$atsea" "$search"
  total_gaveup=$((total_gaveup + gaveup)); total_atsea=$((total_atsea + atsea))
  [ "$search" -gt "$longest_search" ] && longest_search=$search
  wins[$winner]=$(( ${wins[$winner]:-0} + 1 ))
  games=$((games + 1))
  [ $((raider + surprise)) -gt 0 ] && with_raiders=$((with_raiders + 1))
  total_cities=$((total_cities + nocity)); total_aboard=$((total_aboard + aboard))
  total_reserve=$((total_reserve + reserve)); total_order6=$((total_order6 + order6))
  total_raider=$((total_raider + raider)); total_surprise=$((total_surprise + surprise))
  total_sea_nl=$((total_sea_nl + sea_nl))
  total_stays=$((total_stays + stays)); total_aimless=$((total_aimless + aimless))
  [ "$stay" -gt "$longest_stay" ] && longest_stay=$stay
  total_alt5=$((total_alt5 + alt5)); total_alt10=$((total_alt10 + alt10))
  [ "$alt5" -gt 0 ] && games_alt=$((games_alt + 1))
  [ "$order6" -gt "$most_order6" ] && most_order6=$order6
done
echo
echo "games: $games"
for w in "${!wins[@]}"; do echo "wins: $w ${wins[$w]}"; done | sort
echo "games with raider battles or surprise attacks: $with_raiders (raider battles $total_raider, surprise attacks $total_surprise)"
echo "games where an alliance lost its leader: $leaderless; sea battles after that: $total_sea_nl"
echo "cant find appropriate city: $total_cities"
echo "land units aboard 10+ impulses: $total_aboard"
echo "delivered reserve units waiting 10+ impulses: $total_reserve"
echo "order-6 path errors: $total_order6 (most in one game: $most_order6)"
echo "land units of a country at war on one hex 10+ impulses: $total_stays (longest $longest_stay; 20+ impulses with no order or a reserve order while the country had a front: $total_aimless)"
echo "land units alternating 5+ impulses: $total_alt5 in $games_alt games, 10+: $total_alt10"
echo "games where Rusmark and Nordvik fought: $fights58"
echo "invasions given up: $total_gaveup (before reaching their zone: $total_atsea)"
echo "most impulses running searching for a landing and landing nobody: $longest_search"
echo
for seed in $(seq "$first" "$last"); do
  sed -n "s/^note=/seed $seed: /p" "$work/$seed/summary"
done
# The counts of a game whose run failed are not its war's: the census fails.
# With no failed run the pattern matches nothing and ls fails, which under
# pipefail is no reason for the census to fail.
failed=$(cd "$work" && { ls -- */failed 2>/dev/null || true; } | cut -d/ -f1 | sort -n | tr '\n' ' ')
if [ -n "$failed" ]; then
  echo "failed runs (their rows count what they played before failing): $failed" >&2
  exit 1
fi
