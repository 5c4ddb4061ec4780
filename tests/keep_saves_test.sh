#!/usr/bin/env bash
# The player's saves and turns outlive the build: scripts/keep_saves.sh, as
# ./run.sh runs it, moves them from a game folder into the user's data folder
# and links them back, and a rebuilt game folder finds them again. Nothing is
# lost when names clash (both are kept, told apart by name), and a folder the
# player linked elsewhere stays.
# Onto a full or a read-only data folder nothing is copied in part, the game
# folder keeps its saves whole, and one plain line per folder says why.
# A data folder the player removed is made again behind the links, and a
# link of the player's that points nowhere stops neither the start nor the
# build. A start killed with its whole process group at any of its steps, or
# inside any file command it runs with that command's work half done, leaves
# nothing the next start does not clear, also with other starts and a game
# saving (save_writer, the game's own folder swap) meanwhile. Each line names
# the real cause, and only saves that exist.
# HOME and XDG_DATA_HOME point into the scratch folder: the user's own are
# never touched.
# With a configured build folder and its game folder, the build's own save
# folders step is checked to be given that game folder.
# usage: keep_saves_test.sh <scripts/keep_saves.sh> <scratch folder> <cmake> <cmake/make_save_folders.cmake>
#          <save_writer> [<build folder> <its game folder>]
set -euo pipefail

keep=$1
work=$2
cmake=$3
save_folders=$4
writer=$5
build_dir=${6:-}
build_game_dir=${7:-}
# Names are listed, and the system's reasons read, in one order and language.
export LC_ALL=C
# A small file system a killed run left mounted goes first.
if mountpoint -q "$work/disk" 2>/dev/null; then umount "$work/disk"; fi
chmod -R u+w "$work" 2>/dev/null || true
rm -rf "$work"
mkdir -p "$work"
cd "$work"
mounted=()
# A start a failed check left stopped at a step goes too.
trap 'for job in $(jobs -p); do kill -KILL "$job" 2>/dev/null || true; done; wait
  for disk in "${mounted[@]}"; do umount "$disk"; done; chmod -R u+w "$work" 2>/dev/null || true; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
# The build's step that makes the game folder's save folders.
build_save_folders() { "$cmake" -DGAME_DIR="$game" -P "$save_folders"; }

# A game folder as a build leaves it, with a save, a hidden file, a turn and
# the repository in it.
game="$work/build/game"
mkdir -p "$game/data/save/Duel" "$game/data/pbem/North (2)" "$game/data/scenarios"
printf 'strength 73\n' >"$game/data/save/Duel/land_units.csv"
printf 'Duel\n' >"$game/data/save/.last"
touch -d '2021-03-04 05:06:07' "$game/data/save/Duel/land_units.csv"
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
[ "$(stat -c %Y "$kept/save/Duel/land_units.csv")" = "$(date -d '2021-03-04 05:06:07' +%s)" ] ||
  fail "the save's time was not kept"
[ "$(ls -A "$kept/save" | tr '\n' ' ')" = ".last Duel " ] && [ "$(cat "$kept/save/.last")" = Duel ] ||
  fail "the kept saves are not the save and the hidden file: $(ls -A "$kept/save")"
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

# A name kept already and one in the game folder that differ, also only two
# folders deep, or where the kept one is a link (to a file alike, or to
# nothing): neither is replaced, the game folder's is kept beside under a
# name of its own, the folder is linked, so the game lists both, and one line
# per clash says which is which and which is newer. The data folder spelled
# with slashes doubled and one more at its end is named plainly.
rm -rf "$work/build" "$work/elsewhere"
mkdir -p "$game/data/save/Duel" "$game/data/save/Spring" "$game/data/save/Deep/turn 2" "$kept/save/Deep/turn 2" \
  "$game/data/pbem" "$work/elsewhere"
printf 'strength 19\n' >"$game/data/save/Duel/land_units.csv"
printf 'strength 2\n' >"$game/data/save/Deep/turn 2/units.csv"
printf 'strength 1\n' >"$kept/save/Deep/turn 2/units.csv"
touch -d '2020-01-01' "$kept/save/Deep" "$game/data/save/Duel"
printf 'turn 6\n' | tee "$game/data/save/notes.txt" >"$work/elsewhere/notes.txt"
ln -s "$work/elsewhere/notes.txt" "$kept/save/notes.txt"
printf 'repository 58\n' >"$game/data/pbem/latest"
ln -s "North (9)" "$kept/pbem/latest"
XDG_DATA_HOME="$work//xdg/" "$keep" "$game" 2>"$work/said" || fail "a clash stopped the start"
for folder in save pbem; do
  [ "$(readlink "$game/data/$folder")" = "$kept/$folder" ] || fail "a folder with a clashing name was not linked"
done
[ "$(cat "$kept/save/Duel (game folder)/land_units.csv")" = "strength 19" ] &&
  [ "$(cat "$kept/save/Duel/land_units.csv")" = "strength 73" ] || fail "a clashing save was lost or replaced"
[ "$(cat "$kept/save/Deep (game folder)/turn 2/units.csv")" = "strength 2" ] &&
  [ "$(cat "$kept/save/Deep/turn 2/units.csv")" = "strength 1" ] || fail "a save clashing two folders deep was lost"
[ -d "$kept/save/Spring" ] && [ "$(cat "$kept/save/notes.txt (game folder)")" = "turn 6" ] &&
  [ "$(readlink "$kept/save/notes.txt")" = "$work/elsewhere/notes.txt" ] || fail "a save beside the clashes was lost"
[ "$(cat "$kept/pbem/latest (game folder)")" = "repository 58" ] && [ "$(readlink "$kept/pbem/latest")" = "North (9)" ] ||
  fail "a turn clashing with a link to nothing was lost"
[ "$(grep -c . "$work/said")" -eq 4 ] &&
  grep -qxF "$kept/save holds \"Deep\" twice: \"Deep\" as it was kept there, \"Deep (game folder)\" as $game/data/save held it; \"Deep (game folder)\" is the newer." \
    "$work/said" &&
  grep -qF "$kept/save holds \"Duel\" twice: \"Duel\" as it was kept there, \"Duel (game folder)\" as $game/data/save held it; \"Duel\" is the newer." \
    "$work/said" || fail "not one line per clash naming the newer: $(cat "$work/said")"
rm -rf "$kept/save/Deep"* "$kept/save/Duel (game folder)" "$kept/save/notes.txt"* "$kept/pbem/latest"*

# The player linked the saves elsewhere: that link stays.
rm -rf "$work/build"
mkdir -p "$game/data" "$work/disk/saves"
ln -s "$work/disk/saves" "$game/data/save"
"$keep" "$game"
[ "$(readlink "$game/data/save")" = "$work/disk/saves" ] || fail "the player's own link was replaced"

# The player removes the data folder after a start: the next start makes it
# again behind the links, quietly, the build's step passes, and what the game
# saves next lands in the data folder.
rm -rf "$work/build" "$kept"
mkdir -p "$game/data/save/Duel"
"$keep" "$game"
rm -rf "$kept"
"$keep" "$game" 2>"$work/said" || fail "a removed data folder stopped the start"
[ ! -s "$work/said" ] || fail "making the data folder again was said: $(cat "$work/said")"
for folder in save pbem; do
  [ "$(readlink "$game/data/$folder")" = "$kept/$folder" ] && [ -d "$kept/$folder" ] ||
    fail "data/$folder does not lead to $kept/$folder again"
done
build_save_folders || fail "the build's step failed on the links"
for folder in save pbem; do
  [ "$(readlink "$game/data/$folder")" = "$kept/$folder" ] || fail "the build's step changed the link data/$folder"
done
mkdir "$game/data/save/Next"
[ -d "$kept/save/Next" ] || fail "a save made after the data folder was removed is not in it"

# The first ./run.sh of a fresh checkout starts before any build, with no
# game folder yet: the links are made all the same.
rm -rf "$work/build"
"$keep" "$game" || fail "a start before the first build stopped"
for folder in save pbem; do
  [ "$(readlink "$game/data/$folder")" = "$kept/$folder" ] || fail "data/$folder is not linked before the first build"
done

# In a bare game folder the build's step makes both save folders.
rm -rf "$work/build"
mkdir -p "$game"
build_save_folders || fail "the build's step failed in a bare game folder"
for folder in save pbem; do
  [ -d "$game/data/$folder" ] && [ ! -L "$game/data/$folder" ] || fail "the build's step did not make data/$folder"
done
# The build itself runs that step on its own game folder.
if [ -n "$build_dir" ]; then
  rules="$build_dir/build.ninja"
  [ -f "$rules" ] || rules="$build_dir/CMakeFiles/game_save_folders.dir/build.make"
  if [ -f "$rules" ]; then
    grep -F "make_save_folders.cmake" "$rules" | grep -qF -- "-DGAME_DIR=$build_game_dir" ||
      fail "the build's save folders step is not given $build_game_dir: $(grep -F "make_save_folders.cmake" "$rules" || true)"
  else
    echo "SKIP: no build rules of a known generator in $build_dir: the build's save folders step is not checked"
  fi
fi

# The same, where the data folder cannot be made again (a file stands in its
# place): the game folder saves meanwhile, and one line says so.
rm -rf "$work/build" "$work/gone"
mkdir -p "$game/data/save/Duel"
XDG_DATA_HOME="$work/gone" "$keep" "$game"
rm -rf "$work/gone"
printf 'not a folder\n' >"$work/gone"
XDG_DATA_HOME="$work/gone" "$keep" "$game" 2>"$work/said" || fail "a data folder that cannot be made stopped the start"
[ -d "$game/data/save" ] && [ ! -L "$game/data/save" ] || fail "the game folder has no save folder to save in"
[ "$(grep -c "not kept outside the build: $work/gone is a file, where a folder belongs\. .*; move that file away" "$work/said")" = 2 ] ||
  fail "not one line per folder with the file in the way: $(cat "$work/said")"
build_save_folders || fail "the build's step failed"
rm "$work/gone"

# The player's own link points nowhere (a disk not mounted): it stays as it
# is, one line says where it points, and neither the start nor the build stops.
rm -rf "$work/build"
mkdir -p "$game/data"
ln -s "$work/unmounted/saves" "$game/data/save"
"$keep" "$game" 2>"$work/said" || fail "a link of the player's to nothing stopped the start"
[ "$(readlink "$game/data/save")" = "$work/unmounted/saves" ] && [ ! -e "$work/unmounted" ] ||
  fail "the player's link to nothing was changed or followed"
[ "$(wc -l <"$work/said")" -eq 1 ] &&
  grep -qF "$game/data/save is left linked to $work/unmounted/saves, which is not there" "$work/said" ||
  fail "not one line on where the link points: $(cat "$work/said")"
[ "$(readlink "$game/data/pbem")" = "$kept/pbem" ] || fail "the turns were not linked beside the player's link"
build_save_folders || fail "the build's step failed on a link to nothing"
[ "$(readlink "$game/data/save")" = "$work/unmounted/saves" ] || fail "the build's step changed the player's link"

# A game folder with no saves yet, as a first build leaves it, and a data
# folder that cannot be made: the file in its way is named, and nothing is
# said to stay that is not there.
rm -rf "$work/build" "$work/other"
mkdir -p "$game/data/save" "$game/data/pbem" "$work/other"
printf 'not a folder\n' >"$work/other/tidereach"
XDG_DATA_HOME="$work/other" "$keep" "$game" 2>"$work/said" || fail "a data folder that cannot be made stopped the start"
grep -qxF "Saves not kept outside the build: $work/other/tidereach is a file, where a folder belongs. New ones go into $game/data/save meanwhile; move that file away and the next ./run.sh moves them." \
  "$work/said" && grep -qF "Play-by-e-mail turns not kept outside the build: " "$work/said" &&
  ! grep -q 'They stay in' "$work/said" || fail "the lines speak of saves that are not there: $(cat "$work/said")"

# Without XDG_DATA_HOME, or with a relative one, the default under HOME.
rm -rf "$work/build"
mkdir -p "$game/data/save/Autumn"
XDG_DATA_HOME=relative/share "$keep" "$game"
[ -d "$HOME/.local/share/tidereach/save/Autumn" ] || fail "the default folder under HOME was not used"
[ ! -e relative ] || fail "a relative XDG_DATA_HOME was used"

# A file where the kept saves belong, or where the data folder belongs: the
# saves stay, and the line names that file, not a copy that was never tried.
rm -rf "$work/build" "$work/other"
mkdir -p "$game/data/save/Winter" "$work/other/tidereach"
printf 'not a folder\n' >"$work/other/tidereach/save"
XDG_DATA_HOME="$work/other" "$keep" "$game" 2>"$work/said" || fail "a file in the saves' place stopped the start"
[ -d "$game/data/save/Winter" ] && [ ! -L "$game/data/save" ] || fail "the saves left the game folder"
[ "$(wc -l <"$work/said")" -eq 1 ] &&
  grep -qF "Saves not moved: $work/other/tidereach/save is a file, where a folder belongs. They stay in $game/data/save as they were, and the game saves there meanwhile; move that file away and" \
    "$work/said" || fail "not one line naming the file in the way: $(cat "$work/said")"
# Turns that are all hidden files are turns that stay all the same.
rm -rf "$work/other" "$game/data/pbem"
mkdir -p "$work/other" "$game/data/pbem"
printf 'not a folder\n' >"$work/other/tidereach"
printf 'West\n' >"$game/data/pbem/.last"
XDG_DATA_HOME="$work/other" "$keep" "$game" 2>"$work/said" || fail "a file in the data folder's place stopped the start"
[ -d "$game/data/save/Winter" ] && [ ! -L "$game/data/save" ] || fail "the saves left the game folder"
grep -qxF "Saves not moved: $work/other/tidereach is a file, where a folder belongs. They stay in $game/data/save as they were, and the game saves there meanwhile; move that file away and the next ./run.sh moves them." \
  "$work/said" || fail "the line does not name the file in the data folder's place: $(cat "$work/said")"
grep -qxF "Play-by-e-mail turns not moved: $work/other/tidereach is a file, where a folder belongs. They stay in $game/data/pbem as they were, and the game saves there meanwhile; move that file away and the next ./run.sh moves them." \
  "$work/said" || fail "turns that are hidden files were said not to be there: $(cat "$work/said")"
rm "$game/data/pbem/.last"
# The same with the data folder a link of the player's to a disk not mounted.
rm "$work/other/tidereach"
ln -s "$work/unmounted/tidereach" "$work/other/tidereach"
XDG_DATA_HOME="$work/other" "$keep" "$game" 2>"$work/said" || fail "a data folder linked to nothing stopped the start"
[ -d "$game/data/save/Winter" ] && [ ! -L "$game/data/save" ] && [ ! -e "$work/unmounted" ] ||
  fail "the saves left the game folder, or the link to nothing was followed"
grep -qxF "Saves not moved: $work/other/tidereach leads to $work/unmounted/tidereach, which is not there (a disk not mounted?). They stay in $game/data/save as they were, and the game saves there meanwhile; mount it, or remove the link and the next ./run.sh moves them." \
  "$work/said" || fail "the line does not name the data folder's link to nothing: $(cat "$work/said")"

# Something other than a folder or a file where the saves belong (here a
# pipe) is left as it is, said, and the start goes on.
rm -rf "$work/build"
mkdir -p "$game/data/pbem"
mkfifo "$game/data/save"
"$keep" "$game" 2>"$work/said" || fail "a pipe in the saves' place stopped the start"
[ -p "$game/data/save" ] || fail "the pipe in the saves' place was not left as it is"
grep -qF "$game/data/save is not a folder" "$work/said" || fail "the pipe was not said: $(cat "$work/said")"
[ "$(readlink "$game/data/pbem")" = "$kept/pbem" ] || fail "the turns were not linked beside the pipe"

# start_paused <step> [VAR=value...]: starts a start in the background that
# stops at the step; pid is its process.
start_paused() {
  local step=$1 said_step=
  shift
  rm -f "$work/paused"
  mkfifo "$work/paused"
  # A process group of its own, as a start from a terminal: the group is what is killed.
  setsid env TIDEREACH_KEEP_SAVES_PAUSE_AT="$step" "$@" "$keep" "$game" >"$work/paused" 2>>"$work/said" &
  pid=$!
  # Bounded, so that a start that never gets there fails the test, not hangs it.
  read -r -t 120 said_step <"$work/paused" || true
  [ "$said_step" = "paused at $step" ] || fail "the start never reached the step $step"
  # It says so just before it stops itself: it is let go on only once stopped,
  # or the stop would land after and hold it for good.
  local tries=0 stat
  while :; do
    stat=$(cat "/proc/$pid/stat" 2>/dev/null) || fail "the start ended at the step $step"
    stat=${stat##*) }
    [ "${stat%% *}" != T ] || break
    tries=$((tries + 1))
    [ "$tries" -le 1200 ] || fail "the start never stopped at the step $step"
    sleep 0.1
  done
}
# cut_at <step> [VAR=value...]: a start killed with its process group at the
# step, where no trap runs.
cut_at() {
  start_paused "$@"
  kill -KILL -- -"$pid"
  wait "$pid" 2>/dev/null || true
}
# state <kept folder>: what the kept saves and the game folder's save folder
# hold, then the script's own working folders in the data folder and the
# game's data folder, by folder and kind.
state() {
  local where
  for where in "$1/save" "$game/data/save"; do
    if [ -L "$where" ]; then echo -n "link | "
    elif [ -d "$where" ]; then echo -n "$(ls -A "$where" | sort | tr '\n' ' ')| "
    else echo -n "none | "
    fi
  done
  ls -A "$1" "$game/data" 2>/dev/null | sed -n 's/^\.keep_saves\.\([a-z]*\.[a-z]*\)\..*/\1/p' | sort | tr '\n' ' '
}
# A game folder with three saves and a turn.
build_with_saves() {
  rm -rf "$work/build" "$work/before"
  mkdir -p "$game/data/save/Duel" "$game/data/save/Spring" "$game/data/pbem/West (1)"
  printf 'strength 73\n' >"$game/data/save/Duel/land_units.csv"
  printf 'strength 19\n' >"$game/data/save/Spring/land_units.csv"
  printf 'turn 6\n' >"$game/data/save/notes.txt"
  printf 'turn 12\n' >"$game/data/pbem/West (1)/Info.ini"
  cp -a "$game/data" "$work/before"
}
# saves_kept_once <kept folder>: the saves and turns stand whole and once in
# the data folder, linked, and nothing else is there.
saves_kept_once() {
  for folder in save pbem; do
    # However either path is spelled: a start may have had a slash more.
    [ -L "$game/data/$folder" ] && [ "$(realpath -m "$game/data/$folder")" = "$(realpath -m "$1/$folder")" ] ||
      fail "$2: data/$folder is not linked"
    diff -r --no-dereference "$work/before/$folder" "$1/$folder" >/dev/null ||
      fail "$2: the kept $folder is not as it was: $(diff -r "$work/before/$folder" "$1/$folder" || true)"
  done
}

# nothing_hidden_left <kept folder> <when>: none of the script's working
# folders in the data folder or the game's, and none of the game's own
# working folders among the kept saves.
nothing_hidden_left() {
  local left
  left=$(find "$1" "$game/data/" -maxdepth 1 -name '.keep_saves.*'
    find "$1/save" "$1/pbem" -maxdepth 1 \( -name '.saving%*' -o -name '.old%*' \) 2>/dev/null || true)
  [ -z "$left" ] || fail "$2: hidden folders were left: $left"
}
# A start killed at each of its steps, then a later start: the saves stand
# whole and once in the data folder, linked, and nothing of the cut start is
# left. What the cut start left is checked first, so each step is the one meant.
cut_steps=(
  "copying:| Duel Spring notes.txt | save.copy save.copying "
  "copied:| Duel Spring notes.txt | save.copy save.copying "
  "moved:| none | save.copy save.copying save.moved save.out "
  "linked:| link | save.copy save.copying save.moved save.out "
  "placing:Duel | link | save.copy save.copying save.moved save.out "
  "verified:Duel Spring notes.txt | link | save.copy save.copying save.moved save.out save.verified "
)
for cut in "${cut_steps[@]}"; do
  step=${cut%%:*}
  build_with_saves
  rm -rf "$work/cut"
  : >"$work/said"
  cut_at "$step" XDG_DATA_HOME="$work/cut"
  [ "$(state "$work/cut/tidereach")" = "${cut#*:}" ] ||
    fail "a start cut at $step left \"$(state "$work/cut/tidereach")\", not \"${cut#*:}\""
  XDG_DATA_HOME="$work/cut" "$keep" "$game" 2>"$work/said" || fail "the start after one cut at $step stopped"
  [ ! -s "$work/said" ] || fail "the start after one cut at $step said: $(cat "$work/said")"
  saves_kept_once "$work/cut/tidereach" "after a start cut at $step"
  nothing_hidden_left "$work/cut/tidereach" "after a start cut at $step"
done

# A start cut once the game folder is linked, and the game saving one of the
# moved saves again meanwhile: its later save replaces the one moved out, as
# any save of the name does, and nothing of the earlier is kept or said. A
# save of another game folder's, placed with its times kept, is no later save:
# both are kept, said. A start of another game folder on the same data folder
# in between leaves the cut start's stamp alone.
for other in "" "shared" "placed"; do
  build_with_saves
  rm -rf "$work/cut" "$work/build2"
  : >"$work/said"
  cut_at linked XDG_DATA_HOME="$work/cut"
  if [ "$other" != placed ]; then
    if [ -n "$other" ]; then
      mkdir -p "$work/build2/game/data/save/Far"
      XDG_DATA_HOME="$work/cut" "$keep" "$work/build2/game" 2>>"$work/said" || fail "another game folder's start failed"
      rm -r "$work/cut/tidereach/save/Far"
    fi
    "$writer" "$game" Spring 1 0 5 >/dev/null || fail "the game saving after a cut start failed"
  else
    mkdir -p "$work/other"
    printf 'strength 5\n' >"$work/other/land_units.csv"
    touch -d '2020-01-01' "$work/other/land_units.csv" "$work/other"
    cp -R --preserve=mode,timestamps "$work/other" "$work/cut/tidereach/save/Spring"
  fi
  XDG_DATA_HOME="$work/cut" "$keep" "$game" 2>"$work/said" || fail "the start after a cut and a save stopped"
  kept_names=$(ls -A "$work/cut/tidereach/save" | sort | tr '\n' ' ')
  if [ "$other" != placed ]; then
    [ ! -s "$work/said" ] || fail "the start after a cut and a save said ($other): $(cat "$work/said")"
    [ "$kept_names" = "Duel Spring notes.txt " ] && [ "$(cat "$work/cut/tidereach/save/Spring/version")" = 1 ] ||
      fail "the game's later save did not replace the one moved out: $kept_names"
  else
    grep -qF 'holds "Spring" twice' "$work/said" && [ "$kept_names" = "Duel Spring Spring (game folder) notes.txt " ] &&
      [ "$(cat "$work/cut/tidereach/save/Spring (game folder)/land_units.csv")" = "strength 19" ] ||
      fail "another game folder's save took the place of the one moved out: $kept_names $(cat "$work/said")"
  fi
  nothing_hidden_left "$work/cut/tidereach" "after a cut start and a save"
done
rm -rf "$work/other" "$work/build2"

# Stand-ins for the file commands the script runs, put first in PATH: each
# counts its calls in $SHIM_COUNT/<command>, and the call SHIM_CUT names
# (<command>:<n>) does part of its work and then kills its whole process
# group, as a closed terminal's hang-up does: a copy with its later files
# missing and one cut short, a removal of half the files, the rest whole.
mkdir -p "$work/bin"
cat >"$work/bin/shim" <<SHIM
#!/usr/bin/env bash
cmd=\${0##*/}
real=\$(PATH="$PATH" command -v "\$cmd")
count=\$((\$(cat "\$SHIM_COUNT/\$cmd" 2>/dev/null || echo 0) + 1))
echo "\$count" >"\$SHIM_COUNT/\$cmd"
last=\${*: -1}
# halve <file>: leaves the first half of it.
halve() { truncate -s \$((\$(stat -c %s -- "\$1") / 2)) -- "\$1"; }
# The call SHIM_SPOIL names says it copied, and left the copy's first file cut
# short, as a faulty disk would.
if [ "\${SHIM_SPOIL:-}" = "\$cmd:\$count" ]; then
  "\$real" "\$@" || exit
  copied=\${*: -2:1}
  spoilt=\$(find "\${last%/}/\${copied##*/}" -type f | sort | head -n 1)
  halve "\$spoilt"
  exit 0
fi
[ "\${SHIM_CUT:-}" = "\$cmd:\$count" ] || exec "\$real" "\$@"
case \$cmd in
  cp)
    "\$real" "\$@"
    copied=\${*: -2:1}
    copied="\${last%/}/\${copied##*/}"
    mapfile -t files < <(find "\$copied" -type f | sort)
    half=\$((\${#files[@]} / 2))
    if [ \${#files[@]} -gt 0 ]; then
      chmod -R u+w "\$copied"
      halve "\${files[\$half]}"
      "\$(PATH="$PATH" command -v rm)" -f "\${files[@]:\$((half + 1))}"
    fi ;;
  rm)
    mapfile -t files < <(find "\$last" -type f 2>/dev/null | sort)
    "\$real" -f "\${files[@]:0:\$(((\${#files[@]} + 1) / 2))}" ;;
  *) "\$real" "\$@" ;;
esac
kill -KILL 0
SHIM
chmod +x "$work/bin/shim"
for command in cp mv rm ln mkdir rmdir chmod; do ln -sf shim "$work/bin/$command"; done
# A game folder with a read-only save, one whose name the data folder holds
# with other contents, and no turns; what the data folder holds after.
build_with_clash() {
  chmod -R u+w "$work/build" "$work/clash" 2>/dev/null || true
  rm -rf "$work/clash"
  build_with_saves
  rm -rf "$game/data/pbem/West (1)" "$work/before/pbem/West (1)"
  mkdir -p "$work/clash/tidereach/save/Spring"
  printf 'strength 1\n' >"$work/clash/tidereach/save/Spring/land_units.csv"
  mv "$work/before/save/Spring" "$work/before/save/Spring (game folder)"
  cp -a "$work/clash/tidereach/save/Spring" "$work/before/save/"
  chmod 555 "$game/data/save/Duel"
}
# only_clash_said <when>: the starts said nothing but the clash of "Spring".
only_clash_said() {
  ! grep -v "^$work/clash/tidereach/save holds \"Spring\" twice: \"Spring\" as it was kept there, \"Spring (game folder)\" as $game/data/save held it; " \
    "$work/said" || fail "$1: more than the clash was said"
}
# Each call of each command a start runs is cut in turn, then one plain start
# keeps every save whole and once, and leaves nothing behind.
rm -rf "$work/counts"
mkdir "$work/counts"
build_with_clash
SHIM_COUNT="$work/counts" PATH="$work/bin:$PATH" XDG_DATA_HOME="$work/clash" "$keep" "$game" 2>/dev/null
started=$(date +%s)
cuts=0
for command in cp mv rm ln mkdir rmdir chmod; do
  for call in $(seq 1 "$(cat "$work/counts/$command" 2>/dev/null || echo 0)"); do
    build_with_clash
    rm -rf "$work/count"
    mkdir "$work/count"
    : >"$work/said"
    status=0
    # In a subshell of its own, which alone tells of the kill.
    (SHIM_CUT="$command:$call" SHIM_COUNT="$work/count" PATH="$work/bin:$PATH" XDG_DATA_HOME="$work/clash" \
      setsid -w "$keep" "$game" 2>>"$work/said") 2>/dev/null || status=$?
    [ "$status" = 137 ] || fail "the start was not cut inside $command call $call ($status)"
    XDG_DATA_HOME="$work/clash" "$keep" "$game" 2>>"$work/said" || fail "the start after a cut inside $command stopped"
    saves_kept_once "$work/clash/tidereach" "after a cut inside $command call $call"
    nothing_hidden_left "$work/clash/tidereach" "after a cut inside $command call $call"
    only_clash_said "after a cut inside $command call $call"
    cuts=$((cuts + 1))
  done
done
chmod -R u+w "$work/build" "$work/clash"
echo "$cuts starts cut inside a file command, each then kept every save: $(($(date +%s) - started)) s"

# A start that finds another one moving saves into the same data folder waits
# for it, and leaves the other's copy alone: both games' saves are kept whole.
build_with_saves
rm -rf "$work/two" "$work/build2"
mkdir -p "$work/build2/game/data/save/Far"
printf 'strength 4\n' >"$work/build2/game/data/save/Far/land_units.csv"
: >"$work/said"
start_paused copying XDG_DATA_HOME="$work/two"
first=$pid
game="$work/build2/game" start_paused waiting XDG_DATA_HOME="$work/two"
second=$pid
[ -n "$(find "$work/two/tidereach" -name '.keep_saves.save.copy.*')" ] || fail "the copy of the first start was not made"
kill -CONT "$second"
kill -CONT "$first"
wait "$first" || fail "the first start failed ($?): $(cat "$work/said")"
wait "$second" || fail "the second start failed: $(cat "$work/said")"
grep -qF "Waiting for another start to finish moving saves into $work/two/tidereach" "$work/said" &&
  [ "$(wc -l <"$work/said")" -eq 1 ] || fail "the wait was not said alone: $(cat "$work/said")"
[ "$(cat "$work/two/tidereach/save/Far/land_units.csv")" = "strength 4" ] || fail "the second game's save was not kept"
[ "$(readlink "$work/build2/game/data/save")" = "$work/two/tidereach/save" ] || fail "the second game was not linked"
rm "$work/two/tidereach/save/Far" -r
saves_kept_once "$work/two/tidereach" "beside another start"

# only_waits_said <when>: the starts said nothing but that they waited.
only_waits_said() {
  ! grep -v '^Waiting for another start to finish moving saves ' "$work/said" ||
    fail "$1: more than the waits was said"
}

# Starts at once on one game folder, before the data folder is there (the
# first start after an update), take turns: the later ones find the saves
# moved and linked, and neither remove nor move anything of them again. Every
# other start spells XDG_DATA_HOME with a trailing slash. In the trials of one
# killed, the first start is killed at a moment drawn anew each time, and one
# start after all keeps every save once. Each start is a process group of its
# own, killed whole. In the trials "saving", a game saves one save again and
# again meanwhile (save_writer, as the game saves), from before the starts to
# after them: the newest version it saved whole is the one kept, and nothing
# else of it. A save folder holds several saves of different sizes: by
# default in KiB, quickly; with TIDEREACH_KEEP_SAVES_TEST_UNIT=M and more
# TIDEREACH_KEEP_SAVES_TEST_TRIALS as a run by hand at real sizes.
unit=${TIDEREACH_KEEP_SAVES_TEST_UNIT:-K}
trials=${TIDEREACH_KEEP_SAVES_TEST_TRIALS:-2}
rm -rf "$work/sized"
mkdir -p "$work/sized/save/Duel" "$work/sized/save/Spring" "$work/sized/save/Long war" "$work/sized/pbem/West (1)"
head -c "60$unit" /dev/urandom >"$work/sized/save/Duel/land_units.csv"
head -c "120$unit" /dev/urandom >"$work/sized/save/Spring/land_units.csv"
head -c "180$unit" /dev/urandom >"$work/sized/save/Long war/map.dat"
head -c "90$unit" /dev/urandom >"$work/sized/save/Long war/units.dat"
printf 'turn 6\n' >"$work/sized/save/notes.txt"
head -c "60$unit" /dev/urandom >"$work/sized/pbem/West (1)/Info.ini"
build_with_sized_saves() {
  rm -rf "$work/build" "$work/before" "$work/at_once"
  mkdir -p "$game/data"
  cp -a "$work/sized/." "$game/data/"
  ln -s "$work/sized" "$work/before"
}
for case in 2 3 "2 killed" "3 killed" "2 saving" "3 killed saving"; do
  started=$(date +%s)
  kills=0
  for trial in $(seq 1 "$trials"); do
    build_with_sized_saves
    : >"$work/said"
    if [[ $case == *saving* ]]; then
      if [ "$unit" = M ]; then versions="120 50 6000000"; else versions="40 20 20000"; fi
      "$writer" "$game" "My game" $versions >"$work/written" &
      writing=$!
    fi
    pids=()
    for i in $(seq 1 "${case%% *}"); do
      data_home="$work/at_once"
      [ $((i % 2)) = 1 ] || data_home+=/
      XDG_DATA_HOME="$data_home" setsid "$keep" "$game" 2>>"$work/said" &
      pids+=($!)
    done
    if [[ $case == *killed* ]]; then
      # Within the time a start takes at these sizes, so that each step is met.
      if [ "$unit" = M ]; then sleep "$((RANDOM % 2)).$((RANDOM % 10))"; else sleep "0.0$((RANDOM % 10))"; fi
      # Counted when it was still running, not only not yet waited for.
      stat=$(cat "/proc/${pids[0]}/stat" 2>/dev/null) || true
      stat=${stat##*) }
      [ "${stat%% *}" = Z ] || kills=$((kills + 1))
      kill -KILL -- -"${pids[0]}" 2>/dev/null || true
      wait "${pids[0]}" 2>/dev/null || true
      pids=("${pids[@]:1}")
    fi
    for pid in "${pids[@]}"; do
      wait "$pid" || fail "$case starts at once, trial $trial: one failed: $(cat "$work/said")"
    done
    if [[ $case == *saving* ]]; then
      wait "$writing" || fail "$case starts at once, trial $trial: the game saving meanwhile failed"
    fi
    [[ $case != *killed* ]] || XDG_DATA_HOME="$work/at_once" "$keep" "$game" 2>>"$work/said" ||
      fail "$case starts at once, trial $trial: the start after them failed: $(cat "$work/said")"
    if [[ $case == *saving* ]]; then
      written=$(cat "$work/written")
      [ "$written" -gt 0 ] && [ "$(cat "$work/at_once/tidereach/save/My game/version")" = "$written" ] ||
        fail "$case starts at once, trial $trial: not the newest save $written kept: $(ls -A "$work/at_once/tidereach/save")"
      rm -r "$work/at_once/tidereach/save/My game"
    fi
    saves_kept_once "$work/at_once/tidereach" "$case starts at once, trial $trial"
    nothing_hidden_left "$work/at_once/tidereach" "$case starts at once, trial $trial"
    only_waits_said "$case starts at once, trial $trial"
  done
  [[ $case != *killed* ]] || case+=" ($kills while running)"
  echo "$case starts at once: $trials trials, saves in units of $unit kept once each, $(($(date +%s) - started)) s"
done

# One start is killed while moving the saves on a first start, with one or two
# others waiting for it (one spelling XDG_DATA_HOME otherwise): the first to
# go on clears what the killed one left and keeps every save once.
for cut in "copying 2" "copying 3" "placing 2" "placing 3"; do
  step=${cut% *}
  build_with_saves
  rm -rf "$work/waited"
  : >"$work/said"
  start_paused "$step" XDG_DATA_HOME="$work/waited"
  killed=$pid
  waiting=()
  for i in $(seq 2 "${cut#* }"); do
    data_home="$work/waited"
    [ "$i" = 2 ] || data_home+=/
    start_paused waiting XDG_DATA_HOME="$data_home"
    waiting+=("$pid")
  done
  kill -CONT "${waiting[@]}"
  kill -KILL -- -"$killed"
  wait "$killed" 2>/dev/null || true
  for pid in "${waiting[@]}"; do wait "$pid" || fail "a start waiting on one killed at $step failed: $(cat "$work/said")"; done
  saves_kept_once "$work/waited/tidereach" "beside a start killed at $step"
  nothing_hidden_left "$work/waited/tidereach" "beside a start killed at $step"
  only_waits_said "beside a start killed at $step"
done

# Starts with different data folders on one game folder take turns: one
# killed at a step (or one at once with the other) leaves what the other
# clears, its copy in the first data folder too, and the saves are kept once
# where data/save leads, nothing hidden in either data folder, nothing said
# but the wait.
for cut in copying placing verified "at once"; do
  build_with_saves
  rm -rf "$work/xa" "$work/xb"
  : >"$work/said"
  if [ "$cut" = "at once" ]; then
    start_paused copying XDG_DATA_HOME="$work/xa"
    first=$pid
    start_paused waiting XDG_DATA_HOME="$work/xb"
    kill -CONT "$pid" "$first"
    wait "$first" || fail "a start beside one with another data folder failed: $(cat "$work/said")"
    wait "$pid" || fail "a start waiting on one with another data folder failed: $(cat "$work/said")"
  else
    cut_at "$cut" XDG_DATA_HOME="$work/xa"
    XDG_DATA_HOME="$work/xb" "$keep" "$game" 2>>"$work/said" || fail "the start after one cut at $cut stopped"
  fi
  # The saves where the cut start linked them, else in the other's data folder.
  where="$work/xa/tidereach/save"
  [ "$cut" != copying ] || where="$work/xb/tidereach/save"
  [ "$(realpath "$game/data/save")" = "$where" ] || fail "the saves left the data folder they were linked to ($cut)"
  for folder in save pbem; do
    [ -L "$game/data/$folder" ] && diff -r --no-dereference "$work/before/$folder" "$game/data/$folder/" >/dev/null ||
      fail "after $cut with another data folder, data/$folder is not linked with every save once"
  done
  for data_home in "$work/xa" "$work/xb"; do
    nothing_hidden_left "$data_home/tidereach" "with another data folder after $cut"
  done
  only_waits_said "with another data folder after $cut"
done

# The player's own entries, whatever they are named, are saves like any: a
# file named as the script once named its hidden folders, and a folder named
# as the script names its own now, both in the game folder's save folder and
# among the kept saves, are kept, quietly.
build_with_saves
rm -rf "$work/names"
mkdir -p "$work/names/tidereach/save/.moving.xxxxxx" "$game/data/save/.moving.Ab12Cd" \
  "$game/data/save/.keep_saves.save.out.1"
printf 'notes 1\n' >"$game/data/save/.removing.notes1"
printf 'kept 2\n' >"$work/names/tidereach/save/.moving.xxxxxx/notes"
printf 'mine 3\n' >"$game/data/save/.keep_saves.save.out.1/notes"
cp -a "$game/data/save/." "$work/names/tidereach/save/.moving.xxxxxx" "$work/before/save/"
XDG_DATA_HOME="$work/names" "$keep" "$game" 2>"$work/said" || fail "the player's entries named as the script's stopped the start"
[ ! -s "$work/said" ] || fail "the player's entries named as the script's were said: $(cat "$work/said")"
saves_kept_once "$work/names/tidereach" "with the player's entries named as the script's"
nothing_hidden_left "$work/names/tidereach" "with the player's entries named as the script's"

# The link made by a start whose XDG_DATA_HOME had a trailing slash is still
# known for its own by a start without it, and the other way round: the data
# folder removed in between is made again behind it, quietly.
for spelled in "$work/spelled/ $work/spelled" "$work/spelled $work/spelled/"; do
  build_with_saves
  rm -rf "$work/spelled"
  XDG_DATA_HOME="${spelled% *}" "$keep" "$game"
  rm -rf "$work/spelled"
  XDG_DATA_HOME="${spelled#* }" "$keep" "$game" 2>"$work/said" || fail "a start spelling the data folder otherwise stopped"
  [ ! -s "$work/said" ] || fail "a start spelling the data folder otherwise said: $(cat "$work/said")"
  for folder in save pbem; do
    [ -d "$game/data/$folder" ] && [ "$(realpath "$game/data/$folder")" = "$work/spelled/tidereach/$folder" ] ||
      fail "data/$folder does not lead to the data folder made again"
  done
done

# said_alone <line>: the start said that line and nothing else, the hidden
# folders' random part left out.
said_alone() {
  [ "$(grep -c . "$work/said")" = 1 ] &&
    [ "$(sed 's/\(\.keep_saves\.[a-z]*\.[a-z]*\.\)[0-9]*/\1X/g' "$work/said")" = "$1" ] ||
    fail "not the one line \"$1\": $(cat "$work/said")"
}
# go_on [what]: lets the paused start go on, and waits for it.
go_on() {
  kill -CONT "$pid"
  wait "$pid" || fail "a start let go on after its pause failed: $(cat "$work/said")"
}
there="$work/paused_at/tidereach/save"

# A game running from the game folder changes a save, and a hidden one too,
# while they are copied, or once copied: the newest of each is kept, the
# others too, the folder is linked, and nothing needs saying.
for changed in "copying:Spring" "copied:.quicksave Spring"; do
  build_with_saves
  rm -rf "$work/paused_at"
  printf 'quick 1\n' >"$game/data/save/.quicksave"
  : >"$work/said"
  start_paused "${changed%%:*}" XDG_DATA_HOME="$work/paused_at"
  printf 'strength 20\n' | tee "$game/data/save/Spring/land_units.csv" >"$work/before/save/Spring/land_units.csv"
  [ "${changed#*:}" = Spring ] || printf 'quick 2\n' >"$game/data/save/.quicksave"
  cat "$game/data/save/.quicksave" >"$work/before/save/.quicksave"
  go_on
  [ ! -s "$work/said" ] || fail "with ${changed#*:} changed, the start said: $(cat "$work/said")"
  saves_kept_once "$work/paused_at/tidereach" "with ${changed#*:} changed while moved"
  nothing_hidden_left "$work/paused_at/tidereach" "with ${changed#*:} changed while moved"
done

# A folder made again where the moved one was before the link is made (the
# build's step): when empty, it gives way to the link, quietly; when a save
# is in it, it stays, unlinked, and what was moved out comes back into it.
for made in empty saved; do
  build_with_saves
  rm -rf "$work/paused_at"
  : >"$work/said"
  start_paused moved XDG_DATA_HOME="$work/paused_at"
  mkdir "$game/data/save"
  [ "$made" = empty ] || printf 'turn 9\n' >"$game/data/save/new.sav"
  go_on
  if [ "$made" = empty ]; then
    [ ! -s "$work/said" ] || fail "an empty folder made again was said: $(cat "$work/said")"
  else
    said_alone "$game/data/save could not be linked to $there (File exists): the next ./run.sh tries again"
    [ ! -L "$game/data/save" ] && [ "$(ls -A "$game/data/save" | tr '\n' ' ')" = "Duel Spring new.sav notes.txt " ] ||
      fail "the saves did not come back into the folder made again: $(ls -A "$game/data/save")"
    rm "$game/data/save/new.sav"
    XDG_DATA_HOME="$work/paused_at" "$keep" "$game" 2>"$work/said" || fail "the start after the folder made again stopped"
    [ ! -s "$work/said" ] || fail "the start after the folder made again said: $(cat "$work/said")"
  fi
  saves_kept_once "$work/paused_at/tidereach" "once the folder made again ($made) could be linked"
  nothing_hidden_left "$work/paused_at/tidereach" "once the folder made again ($made) could be linked"
done

# A kept save folder that is a link of the player's to the game folder's
# own, empty: it is left as it is, quietly, so that no link leads to itself.
rm -rf "$work/build" "$work/self"
mkdir -p "$game/data/save" "$work/self/tidereach"
ln -s "$game/data/save" "$work/self/tidereach/save"
XDG_DATA_HOME="$work/self" "$keep" "$game" 2>"$work/said" || fail "a kept folder leading into the game folder stopped the start"
[ ! -s "$work/said" ] && [ -d "$game/data/save" ] && [ ! -L "$game/data/save" ] ||
  fail "a kept folder leading into the game folder was linked back: $(cat "$work/said")"

# A game folder whose data folder leads into the kept one (a link of the
# player's) holds the kept saves themselves: nothing of them is removed.
build_with_saves
rm -rf "$work/self"
XDG_DATA_HOME="$work/self" "$keep" "$game"
rm -rf "$work/build"
mkdir -p "$game"
ln -s "$work/self/tidereach" "$game/data"
XDG_DATA_HOME="$work/self" "$keep" "$game" 2>"$work/said" || fail "a data folder leading into the kept one stopped the start"
[ ! -s "$work/said" ] || fail "a data folder leading into the kept one was said: $(cat "$work/said")"
for folder in save pbem; do
  [ ! -L "$work/self/tidereach/$folder" ] && diff -r "$work/before/$folder" "$work/self/tidereach/$folder" >/dev/null ||
    fail "the kept $folder changed through a data folder leading into it"
done

# as_user <command>: runs it as one whom the file modes bind: a user does
# anyway, root without the powers to pass them.
as_user() {
  if [ "$(id -u)" != 0 ]; then "$@"
  else setpriv --bounding-set=-dac_override,-dac_read_search,-fowner -- "$@"
  fi
}
# starts_quietly <name> <what was mended>: the next start into $work/<name>
# succeeds, says nothing, and keeps each save once.
starts_quietly() {
  XDG_DATA_HOME="$work/$1" as_user "$keep" "$game" 2>"$work/said" || fail "the start failed once $2"
  [ ! -s "$work/said" ] || fail "the start once $2 said: $(cat "$work/said")"
  saves_kept_once "$work/$1/tidereach" "once $2"
}
if [ "$(id -u)" != 0 ] || command -v setpriv >/dev/null; then
  # A save file the user may not read (left by a run as root, say) is named
  # as the file that cannot be read; nothing is copied, nothing moves.
  build_with_saves
  rm -rf "$work/unread"
  chmod 000 "$game/data/save/Spring/land_units.csv"
  XDG_DATA_HOME="$work/unread" as_user "$keep" "$game" 2>"$work/said" || fail "an unreadable save stopped the start"
  [ "$(grep -c . "$work/said")" -eq 1 ] &&
    grep -qF "Saves not moved: $game/data/save/Spring/land_units.csv cannot be read (Permission denied). They stay in $game/data/save as they were" \
      "$work/said" || fail "the unreadable file was not named alone: $(cat "$work/said")"
  [ ! -L "$game/data/save" ] && [ -z "$(ls -A "$work/unread/tidereach/save")" ] ||
    fail "saves moved although one cannot be read"
  # Once it can be read, the next start moves them all.
  chmod 644 "$game/data/save/Spring/land_units.csv"
  XDG_DATA_HOME="$work/unread" as_user "$keep" "$game" || fail "the start failed once the save could be read"
  saves_kept_once "$work/unread/tidereach" "once the save could be read"

  # Originals the user may not write (a save folder and a save of mode 555):
  # kept whole, they are removed all the same, quietly, and the kept copies
  # keep their modes.
  build_with_saves
  rm -rf "$work/stuck"
  chmod 555 "$game/data/save" "$game/data/save/Duel"
  chmod 555 "$work/before/save/Duel"
  starts_quietly stuck "the originals may not be written"
  chmod 755 "$work/before/save/Duel" "$work/stuck/tidereach/save/Duel"

  # The game folder's data folder may not be written: nothing moves, and one
  # line per folder says it could not be linked. Once it may be, the next
  # start moves and links them.
  build_with_saves
  rm -rf "$work/unlinked"
  chmod 555 "$game/data"
  XDG_DATA_HOME="$work/unlinked" as_user "$keep" "$game" 2>"$work/said" || fail "a data folder that may not be written stopped the start"
  chmod 755 "$game/data"
  [ "$(grep -c . "$work/said")" -eq 2 ] &&
    grep -qxF "$game/data/save could not be replaced by a link to $work/unlinked/tidereach/save (Permission denied): mend that, and the next ./run.sh links it" \
      "$work/said" || fail "not one line per folder saying it could not be linked: $(cat "$work/said")"
  diff -r "$work/before" "$game/data" >/dev/null && [ -z "$(ls -A "$work/unlinked/tidereach/save")" ] ||
    fail "saves moved although the game folder could not be linked"
  starts_quietly unlinked "the game folder's data folder could be written"

  # The kept saves' folder may not be written (made by a run as root, say):
  # the line gives that cause and what to do, and the saves stay as they were.
  build_with_saves
  rm -rf "$work/locked"
  mkdir -p "$work/locked/tidereach/save"
  chmod 555 "$work/locked/tidereach/save"
  XDG_DATA_HOME="$work/locked" as_user "$keep" "$game" 2>"$work/said" || fail "a data folder that may not be written stopped the start"
  [ "$(grep -c . "$work/said")" -eq 1 ] &&
    grep -qxF "Saves not moved: $work/locked/tidereach/save may not be written. They stay in $game/data/save as they were, and the game saves there meanwhile; make it writable and the next ./run.sh moves them." \
      "$work/said" || fail "not one line saying the data folder may not be written: $(cat "$work/said")"
  [ ! -L "$game/data/save" ] && diff -r "$work/before/save" "$game/data/save" >/dev/null ||
    fail "the game folder's saves changed although the data folder may not be written"
  nothing_hidden_left "$work/locked/tidereach" "with a kept folder that may not be written"

  # A start cut while copying a save of mode 555: the next start clears the
  # part copy all the same, quietly.
  build_with_saves
  rm -rf "$work/partcopy"
  chmod 555 "$game/data/save/Duel" "$work/before/save/Duel"
  cut_at copied XDG_DATA_HOME="$work/partcopy"
  starts_quietly partcopy "a read-only copy was left"
  nothing_hidden_left "$work/partcopy/tidereach" "once a read-only copy was left"
  chmod 755 "$work/before/save/Duel" "$work/partcopy/tidereach/save/Duel"
else
  echo "SKIP: setpriv is missing: root cannot be made to meet an unreadable or unremovable save"
fi

if [ "$(id -u)" = 0 ] && command -v setpriv >/dev/null; then
  # Originals of which one, two or all three cannot be moved out of a shared
  # save folder (sticky, they and it another user's): the folder is linked,
  # every save kept once in the data folder, and one line names the
  # originals left, with the reason. Once they can be, the next start removes
  # them, quietly.
  for stuck in "Duel" "Duel Spring" "Duel Spring notes.txt"; do
    build_with_saves
    rm -rf "$work/shared"
    chown 12345 "$game/data/save"
    chmod 1777 "$game/data/save"
    for name in $stuck; do chown -R 12345 "$game/data/save/$name"; done
    XDG_DATA_HOME="$work/shared" as_user "$keep" "$game" 2>"$work/said" || fail "a failed removal of $stuck stopped the start"
    are=are
    [ "$stuck" != Duel ] || are=is
    said_alone "$(printf '"%s" ' $stuck)$are kept whole in $work/shared/tidereach/save: their originals, moved out of $game/data/save into $game/data/.keep_saves.save.out.X, could not be removed (Operation not permitted); the next ./run.sh tries again."
    saves_kept_once "$work/shared/tidereach" "with $stuck left"
    out=$(echo "$game"/data/.keep_saves.save.out.*)
    [ "$(ls -A "$out" | tr '\n' ' ')" = "$stuck " ] || fail "with $stuck left, the moved-out folder holds $(ls -A "$out")"
    chown -R 0 "$out"
    chmod 755 "$out"
    starts_quietly shared "$stuck could be removed"
    nothing_hidden_left "$work/shared/tidereach" "once $stuck could be removed"
  done
else
  echo "SKIP: not root, or setpriv is missing: saves another user left in a shared folder are not tried"
fi

# A game folder whose save holds many entries, as a long game's does.
build_with_big_save() {
  rm -rf "$work/build" "$work/before"
  mkdir -p "$game/data/save/Long war" "$game/data/pbem/West (1)"
  for i in $(seq 1 26); do head -c 6000 /dev/urandom >"$game/data/save/Long war/table_$i.csv"; done
  printf 'turn 12\n' >"$game/data/pbem/West (1)/Info.ini"
  cp -a "$game/data" "$work/before"
}
# said_plainly <lines> <cause>: one line per folder left, naming the cause, and no tool's raw error.
said_plainly() {
  [ "$(grep -c -- "$2" "$work/said")" -eq "$1" ] && ! grep -q -v -- "$2" "$work/said" ||
    fail "not one plain line per folder naming \"$2\": $(cat "$work/said")"
}

# A copy that says it was made whole and is not, made after a start cut once
# the saves were moved out: no original goes, and the saves stay whole where
# the game finds them until a later start moves them.
build_with_big_save
rm -rf "$work/spoilt" "$work/count"
mkdir "$work/count"
cut_at moved XDG_DATA_HOME="$work/spoilt"
rm -rf "$work/spoilt/tidereach/".keep_saves.save.copy.*
SHIM_SPOIL=cp:1 SHIM_COUNT="$work/count" PATH="$work/bin:$PATH" XDG_DATA_HOME="$work/spoilt" "$keep" "$game" \
  2>"$work/said" || fail "a copy not whole stopped the start"
diff -r "$work/before/save" "$game/data/save/" >/dev/null ||
  fail "a copy not whole took its save's place: $(cat "$work/said")"
XDG_DATA_HOME="$work/spoilt" "$keep" "$game" 2>"$work/said" || fail "the start after a copy not whole stopped"
saves_kept_once "$work/spoilt/tidereach" "after a copy not whole"
nothing_hidden_left "$work/spoilt/tidereach" "after a copy not whole"

# A name of the longest a save may have, kept twice already in the data
# folder and both unlike the game folder's, and the player's own hidden files
# named like the game's working folders and the script's: each is kept whole
# under a name the game takes for a save's, and none is taken for another's.
long="A save whose name fills all the room the game gives it"
rm -rf "$work/build" "$work/long"
held="$work/long/tidereach/save"
mkdir -p "$game/data/save/$long" "$held/$long" "$held/${long:0:40} (game folder)"
printf 'strength 5\n' >"$game/data/save/$long/land_units.csv"
printf 'strength 6\n' >"$held/$long/land_units.csv"
printf 'strength 7\n' >"$held/${long:0:40} (game folder)/land_units.csv"
printf 'plan\n' >"$game/data/save/.savings plan"
printf 'older\n' >"$game/data/save/.older notes"
printf 'mine\n' >"$held/.keep_saves.mine"
XDG_DATA_HOME="$work/long" "$keep" "$game" 2>"$work/said" || fail "a twice kept long name stopped the start"
[ "$(readlink "$game/data/save")" = "$held" ] || fail "a twice kept long name left the saves unlinked"
for kept_as in "$long:6" "${long:0:40} (game folder):7" "${long:0:38} (game folder 2):5"; do
  [ "$(cat "$held/${kept_as%:*}/land_units.csv" 2>/dev/null)" = "strength ${kept_as##*:}" ] ||
    fail "\"${kept_as%:*}\" is not kept whole: $(ls -A "$held"; cat "$work/said")"
done
[ -z "$(ls -A "$held" | awk 'length > 54')" ] || fail "a name kept is longer than a save's: $(ls -A "$held")"
[ "$(cat "$held/.savings plan" "$held/.older notes" "$held/.keep_saves.mine" 2>/dev/null)" = "$(printf 'plan\nolder\nmine')" ] ||
  fail "the player's hidden files were taken for the game's or the script's: $(ls -A "$held")"
nothing_hidden_left "$work/long/tidereach" "after a twice kept long name"

disk="$work/disk"
mkdir -p "$disk"
if mount -t tmpfs -o size=64k keep_saves_test "$disk" 2>/dev/null; then
  mounted+=("$disk")
  # The data folder fills up while the save is copied: nothing of it stays
  # there, the game folder keeps it whole and unlinked, the turns that fit are
  # moved, and the start goes on.
  build_with_big_save
  XDG_DATA_HOME="$disk" "$keep" "$game" 2>"$work/said" || fail "a full data folder stopped the start"
  said_plainly 1 "$disk/tidereach/save is full"
  grep -qF "is full. They stay in $game/data/save as they were, and the game saves there meanwhile; free room there and" \
    "$work/said" || fail "the line does not say to free room: $(cat "$work/said")"
  grep -q '^Saves not moved: ' "$work/said" && ! grep -q 'part copy' "$work/said" ||
    fail "the line does not name the saves, or names a copy that is gone: $(cat "$work/said")"
  [ -z "$(ls -A "$disk/tidereach/save")" ] || fail "a part copy was left: $(ls -A "$disk/tidereach/save")"
  [ ! -L "$game/data/save" ] || fail "the save folder was linked although its saves were not moved"
  diff -r "$work/before/save" "$game/data/save" >/dev/null || fail "the game folder's save changed"
  [ "$(readlink "$game/data/pbem")" = "$disk/tidereach/pbem" ] || fail "the turns that fit were not moved"
  # With room made, the next start moves the save whole.
  mount -o remount,size=1m "$disk"
  XDG_DATA_HOME="$disk" "$keep" "$game"
  [ "$(readlink "$game/data/save")" = "$disk/tidereach/save" ] || fail "the save was not moved once there was room"
  diff -r "$work/before/save" "$disk/tidereach/save" >/dev/null || fail "the save was not moved whole"

  # A read-only data folder, with the save folder made before and the turns'
  # folder not: both stay in the game folder, as they were.
  build_with_big_save
  rm -rf "$disk/tidereach/pbem" "$disk/tidereach/save/"*
  mount -o remount,ro "$disk"
  XDG_DATA_HOME="$disk" "$keep" "$game" 2>"$work/said" || fail "a read-only data folder stopped the start"
  said_plainly 2 "is on a read-only disk"
  grep -q '^Saves not moved: ' "$work/said" && grep -q '^Play-by-e-mail turns not moved: ' "$work/said" ||
    fail "the lines do not name the saves and the turns: $(cat "$work/said")"
  [ ! -L "$game/data/save" ] && [ ! -L "$game/data/pbem" ] || fail "a folder was linked to a read-only disk"
  diff -r "$work/before" "$game/data" >/dev/null || fail "the game folder's saves changed"

  # A start killed once its copy is whole, on a data folder with room for one
  # copy only: the next start clears it and moves the saves.
  mount -o remount,rw,size=320k "$disk"
  rm -rf "${disk:?}/tidereach"
  build_with_big_save
  : >"$work/said"
  cut_at copied XDG_DATA_HOME="$disk"
  [ -n "$(find "$disk/tidereach" -name '.keep_saves.save.copy.*')" ] || fail "the cut start left no copy to clear"
  XDG_DATA_HOME="$disk" "$keep" "$game" 2>"$work/said" || fail "the start after a cut one on a small disk stopped"
  [ ! -s "$work/said" ] || fail "the start after a cut one on a small disk said: $(cat "$work/said")"
  [ "$(readlink "$game/data/save")" = "$disk/tidereach/save" ] &&
    diff -r "$work/before/save" "$disk/tidereach/save" >/dev/null || fail "the save was not moved whole beside a cut copy"
else
  echo "SKIP: no small file system can be mounted here (needs root): full and read-only data folders are not tried"
fi
echo "saves kept outside the build"
