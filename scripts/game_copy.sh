# Sourced by the scripts that play whole games side by side: each game gets a
# copy of the build's game folder, so its saves and its log stay its own.

# From $root and $build (a folder below the source tree): the build's folder
# as an absolute path, its game folder, and a work folder of its own.
prepare_games() {
  build=$(cd "$root" && cd "$build" && pwd)
  game="$build/game"
  [ -x "$build/autoplay" ] || { echo "no $build/autoplay: build it first" >&2; exit 2; }
  work=$(mktemp -d)
}

copy_game() {
  local game=$1 to=$2 own
  mkdir -p "$to"
  cp -r "$game/data" "$to/"
  # The player's saves and turns, linked into the game folder, stay theirs:
  # the copy saves into folders of its own.
  for own in save pbem; do
    if [ -L "$to/data/$own" ]; then rm -- "$to/data/$own" && mkdir "$to/data/$own"; fi
  done
  cp "$game"/*.db "$to/"
  if [ -f "$game/Settings.ini" ]; then cp "$game/Settings.ini" "$to/"; fi
}
export -f copy_game

# run_failed <exit code> <errors file>: whether a run failed, whatever it
# printed on standard output: it exited with another code than 0, or its
# errors hold a sanitizer's report (a leak is reported at exit, after the
# verdict line).
run_failed() {
  [ "$1" -ne 0 ] && return 0
  grep -q -E '(Address|Leak|Thread|Memory|UndefinedBehavior)Sanitizer|runtime error:' "$2" 2>/dev/null
}
export -f run_failed
