#!/usr/bin/env bash
# The player's saves and turns outlive the build: scripts/keep_saves.sh, as
# ./run.sh runs it, moves them from a game folder into the user's data folder
# and links them back, and a rebuilt game folder finds them again. Nothing is
# lost when names clash, and a folder the player linked elsewhere stays.
# HOME and XDG_DATA_HOME point into the scratch folder: the user's own are
# never touched.
# usage: keep_saves_test.sh <scripts/keep_saves.sh> <scratch folder>
set -euo pipefail

keep=$1
work=$2
rm -rf "$work"
mkdir -p "$work"
cd "$work"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# A game folder as a build leaves it, with a save, a turn and the repository in it.
game="$work/build/game"
mkdir -p "$game/data/save/Duel" "$game/data/pbem/North (2)" "$game/data/scenarios"
printf 'strength 73\n' >"$game/data/save/Duel/land_units.csv"
printf 'turn 41\n' >"$game/data/pbem/North (2)/Info.ini"
printf 'repository 58\n' >"$game/data/pbem/repo.dat"

# XDG_DATA_HOME set: saves go under it.
export HOME="$work/home" XDG_DATA_HOME="$work/xdg"
"$keep" "$game"
kept="$work/xdg/tidereach"
for folder in save pbem; do
  [ "$(readlink "$game/data/$folder")" = "$kept/$folder" ] || fail "data/$folder is not linked to $kept/$folder"
done
[ "$(cat "$kept/save/Duel/land_units.csv")" = "strength 73" ] || fail "the save was not moved whole"
[ "$(cat "$kept/pbem/North (2)/Info.ini")" = "turn 41" ] || fail "the turn was not moved whole"
[ "$(cat "$kept/pbem/repo.dat")" = "repository 58" ] || fail "the repository was not moved"
[ ! -e "$HOME" ] || fail "the home folder was written although XDG_DATA_HOME is set"

# A second start changes nothing; a clean rebuild finds the saves again.
"$keep" "$game"
[ "$(readlink "$game/data/save")" = "$kept/save" ] || fail "a second start changed the link"
rm -rf "$work/build"
mkdir -p "$game/data/save" "$game/data/pbem"
"$keep" "$game"
[ "$(cat "$game/data/save/Duel/land_units.csv")" = "strength 73" ] || fail "the save is gone after a rebuild"
[ -f "$game/data/pbem/repo.dat" ] || fail "the repository is gone after a rebuild"

# A name kept already and one in the game folder: neither is replaced, the
# folder is not linked, and the clash is named.
rm -rf "$work/build"
mkdir -p "$game/data/save/Duel" "$game/data/save/Spring"
printf 'strength 19\n' >"$game/data/save/Duel/land_units.csv"
"$keep" "$game" 2>"$work/said" || fail "a clash stopped the start"
[ ! -L "$game/data/save" ] || fail "a folder with a clashing name was linked"
[ "$(cat "$game/data/save/Duel/land_units.csv")" = "strength 19" ] || fail "the game folder's save was lost"
[ -d "$game/data/save/Spring" ] || fail "a save was moved although its folder stays"
[ "$(cat "$kept/save/Duel/land_units.csv")" = "strength 73" ] || fail "the kept save was replaced"
grep -q '"Duel"' "$work/said" || fail "the clash was not named: $(cat "$work/said")"
[ "$(readlink "$game/data/pbem")" = "$kept/pbem" ] || fail "the turns were not linked beside the clash"

# The player linked the saves elsewhere: that link stays.
rm -rf "$work/build"
mkdir -p "$game/data" "$work/disk/saves"
ln -s "$work/disk/saves" "$game/data/save"
"$keep" "$game"
[ "$(readlink "$game/data/save")" = "$work/disk/saves" ] || fail "the player's own link was replaced"

# Without XDG_DATA_HOME, or with a relative one, the default under HOME.
rm -rf "$work/build"
mkdir -p "$game/data/save/Autumn"
XDG_DATA_HOME=relative/share "$keep" "$game"
[ -d "$HOME/.local/share/tidereach/save/Autumn" ] || fail "the default folder under HOME was not used"
[ ! -e relative ] || fail "a relative XDG_DATA_HOME was used"
echo "saves kept outside the build"
