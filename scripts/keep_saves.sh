#!/usr/bin/env bash
# Keeps the player's saves (data/save) and play-by-e-mail turns (data/pbem)
# out of the build: they live in the user's data folder,
# $XDG_DATA_HOME/tidereach (by default ~/.local/share/tidereach), and the game
# folder holds links to them, so removing the build loses none of them.
# What a game folder's own save folders already hold is moved there first.
# A folder that is a link already (made here before, or by the player to keep
# the saves elsewhere) is left as it is; so is a folder whose entries clash
# with names already kept, which is reported and not linked.
# When the data folder cannot take them (full, read-only), the saves stay
# whole in the game folder, which is then not linked, and one line says why:
# the game still starts and saves there until a later start moves them.
#
# usage: scripts/keep_saves.sh <game folder>
set -euo pipefail

game=${1:?usage: scripts/keep_saves.sh <game folder>}
data_home=${XDG_DATA_HOME:-}
# Only an absolute path counts; anything else means the default.
[[ $data_home == /* ]] || data_home="$HOME/.local/share"
kept="$data_home/tidereach"

# The copies being made, removed whatever ends the script: a copy cut short
# must never be found among the kept saves.
moving=
trap '[ -z "$moving" ] || rm -rf -- "$moving"' EXIT
trap 'exit 130' INT TERM HUP

# reason_of <what a failed command printed>: the system's reason, last of its last line.
reason_of() {
  local line=${1##*$'\n'}
  echo "${line##*: }"
}

# not_moved <reason> [more]: the one line the player reads.
not_moved() {
  local reason=$1 label=Saves what todo
  [ "$folder" = pbem ] && label="Play-by-e-mail turns"
  case $reason in
    *"No space left"*) what="$there is full"; todo="free room there" ;;
    *"Read-only file system"*) what="$there is on a read-only disk"; todo="make it writable" ;;
    *"Permission denied"*) what="$there may not be written"; todo="make it writable" ;;
    *) what="they could not be copied to $there ($reason)"; todo="mend that" ;;
  esac
  echo "$label not moved: $what. They stay in $here as they were, and the game saves there meanwhile;" \
    "$todo and the next ./run.sh moves them.${2:-}" >&2
}

# move_entries: copies every entry into a hidden folder beside the kept ones,
# compares, and only when all are whole renames each into place and removes
# its original. On a failure the copies go and the originals stay untouched.
move_entries() {
  local out entry name
  if ! out=$(mktemp -d -- "$there/.moving.XXXXXX" 2>&1); then
    not_moved "$(reason_of "$out")"
    return 1
  fi
  moving=$out
  for entry in "${entries[@]}"; do
    name=${entry##*/}
    if ! out=$(cp -R -P --preserve=mode,timestamps -- "$entry" "$moving/" 2>&1); then
      drop_copies "$(reason_of "$out")"
      return 1
    fi
    if ! diff -r -q --no-dereference -- "$entry" "$moving/$name" >/dev/null 2>&1; then
      drop_copies "the copy of $name differs from it"
      return 1
    fi
  done
  local placed=()
  for entry in "${entries[@]}"; do
    name=${entry##*/}
    # -n never replaces: a name that appeared meanwhile leaves the copy
    # where it is, found below, and the original stays.
    out=$(mv -n -T -- "$moving/$name" "$there/$name" 2>&1) || true
    if [ -e "$moving/$name" ] || [ -L "$moving/$name" ]; then
      [ -n "$out" ] || out="$name appeared there meanwhile"
      # The entries already placed go back among the copies, so all stay
      # where they were, as the line says.
      for name in "${placed[@]}"; do mv -n -T -- "$there/$name" "$moving/$name" 2>/dev/null || true; done
      drop_copies "$(reason_of "$out")"
      return 1
    fi
    placed+=("$name")
  done
  # Only once every entry is in place do the originals go.
  for entry in "${entries[@]}"; do
    name=${entry##*/}
    if ! out=$(rm -rf -- "$entry" 2>&1); then
      echo "$name is kept whole in $there, but what is left of it in $here could not be removed" \
        "($(reason_of "$out")): remove it by hand, and the next ./run.sh links the folder." >&2
      drop_copies
      return 1
    fi
  done
  drop_copies
}

# drop_copies [reason]: removes the copies, and with a reason says so.
drop_copies() {
  local left=
  rm -rf -- "$moving" 2>/dev/null || true
  [ -e "$moving" ] && left=" A part copy is left in $moving: remove it."
  moving=
  [ $# -eq 0 ] || not_moved "$1" "$left"
}

for folder in save pbem; do
  here="$game/data/$folder"
  there="$kept/$folder"
  [ -L "$here" ] && continue
  if [ -e "$here" ] && [ ! -d "$here" ]; then
    echo "$here is not a folder; it is left as it is" >&2
    continue
  fi
  if ! out=$(mkdir -p -- "$there" 2>&1); then
    not_moved "$(reason_of "$out")"
    continue
  fi
  if [ -d "$here" ]; then
    shopt -s dotglob nullglob
    entries=("$here"/*)
    shopt -u dotglob nullglob
    clashes=()
    for entry in "${entries[@]}"; do
      name=${entry##*/}
      if [ -e "$there/$name" ] || [ -L "$there/$name" ]; then clashes+=("$name"); fi
    done
    if [ ${#clashes[@]} -gt 0 ]; then
      echo "$here stays in the game folder, since $there holds $(printf '"%s" ' "${clashes[@]}")too:" \
        "rename one of each pair, and the next ./run.sh moves them all there" >&2
      continue
    fi
    if [ ${#entries[@]} -gt 0 ]; then move_entries || continue; fi
    if ! rmdir -- "$here" 2>/dev/null; then
      echo "$here stays in the game folder, since a save appeared in it while they were moved:" \
        "the next ./run.sh moves it too" >&2
      continue
    fi
  fi
  mkdir -p "$game/data"
  ln -s -- "$there" "$here"
done
