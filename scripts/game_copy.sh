# Sourced by the scripts that play whole games side by side: each game gets a
# copy of the build's game folder, so its saves and its log stay its own.
copy_game() {
  local game=$1 to=$2
  mkdir -p "$to"
  cp -r "$game/data" "$to/"
  cp "$game"/*.db "$to/"
  if [ -f "$game/Settings.ini" ]; then cp "$game/Settings.ini" "$to/"; fi
}
export -f copy_game
