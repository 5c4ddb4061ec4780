#!/usr/bin/env bash
# Keeps the player's saves (data/save) and play-by-e-mail turns (data/pbem)
# out of the build: they live in the user's data folder,
# $XDG_DATA_HOME/tidereach (by default ~/.local/share/tidereach), and the game
# folder holds links to them, so removing the build loses none of them.
# What a game folder's own save folders already hold is moved there first.
# A link made here before points exactly to the kept folder this user's data
# folder gives; when the player removed that folder since, it is made again.
# Any other link is the player's (to keep the saves elsewhere) and is left as
# it is, said in one line when it points to nothing. A folder whose entries
# clash with different ones already kept is reported and not linked; an entry
# the same in both places is kept once.
# When the data folder cannot take them (full, read-only), the saves stay
# whole in the game folder, which is then not linked, and one line says why:
# the game still starts and saves there until a later start moves them.
# A start cut short at any step, even by a kill no trap sees, leaves what the
# next start clears: part copies are made under a hidden name in the data
# folder, and an original leaves the game folder in one rename before it is
# removed, so neither is ever taken for a save.
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

# pause_at <step>: with TIDEREACH_KEEP_SAVES_PAUSE_AT=<step>, says so on the
# standard output and stops there the first time, so that a test can kill the
# start at that very step as a power cut would, or let it go on.
pause_at() {
  [ "${TIDEREACH_KEEP_SAVES_PAUSE_AT:-}" = "$1" ] || return 0
  TIDEREACH_KEEP_SAVES_PAUSE_AT=
  echo "paused at $1"
  kill -STOP $$
}

# take_lock: holds the kept folder's lock while the script runs. Only one start
# at a time moves saves in, so a part copy found while holding it was left by
# a start that is gone. A start killed while a copy runs leaves the lock to
# that copy, which holds it until it ends.
lock=
take_lock() {
  [ -z "$lock" ] || return 0
  lock=none
  command -v flock >/dev/null 2>&1 || return 0
  local fd taken=0
  { exec {fd}<"$kept"; } 2>/dev/null || return 0
  # 3 only when another holds it; a folder that takes no lock is not waited on.
  flock -n -E 3 "$fd" 2>/dev/null || taken=$?
  if [ "$taken" = 3 ]; then
    echo "Waiting for another start to finish moving saves into $kept" >&2
    pause_at waiting
    flock "$fd" 2>/dev/null || return 0
  elif [ "$taken" != 0 ]; then
    return 0
  fi
  lock=held
}

# reason_of <what a failed command printed>: the system's reason, last of its last line.
reason_of() {
  local line=${1##*$'\n'}
  echo "${line##*: }"
}

# cause_of <reason> <what otherwise>: sets the player's words for a failure
# on the data folder side, what went wrong and what to do.
cause_of() {
  case $1 in
    *"No space left"*) what="$there is full"; todo="free room there" ;;
    *"Read-only file system"*) what="$there is on a read-only disk"; todo="make it writable" ;;
    *"Permission denied"*) what="$there may not be written"; todo="make it writable" ;;
    *) what=$2; todo="mend that" ;;
  esac
}

# label: what the folder holds, as the player's lines name it.
label() {
  if [ "$folder" = pbem ]; then echo "Play-by-e-mail turns"; else echo "Saves"; fi
}

# say_not_moved <what> <todo> [more]: the one line the player reads when the
# saves stay in the game folder.
say_not_moved() {
  echo "$(label) not moved: $1. They stay in $here as they were, and the game saves there meanwhile;" \
    "$2 and the next ./run.sh moves them.${3:-}" >&2
}

# not_moved <reason> [more]: the same, for a failure on the data folder side.
not_moved() {
  local what todo
  cause_of "$1" "they could not be copied to $there ($1)"
  say_not_moved "$what" "$todo" "${2:-}"
}

# not_kept <reason>: the line for a folder with nothing to move, whose place in
# the data folder cannot be made.
not_kept() {
  local what todo
  cause_of "$1" "$there could not be made ($1)"
  echo "$(label) not kept outside the build: $what. New ones go into $here meanwhile;" \
    "$todo and the next ./run.sh moves them." >&2
}

# same_in_both <name>: whether the entry stands alike in the game folder and
# among the kept ones, as a start cut after placing it leaves it.
same_in_both() {
  diff -r -q --no-dereference -- "$here/$1" "$there/$1" >/dev/null 2>&1
}

# unreadable_in <entry>: the first file or folder under it the user may not read.
unreadable_in() {
  find -P "$1" \( -type d \( ! -readable -o ! -executable \) -o -type f ! -readable \) -print -quit 2>/dev/null ||
    true
}

# move_entries <entry>...: copies each entry into a hidden folder beside the
# kept ones, compares, and only when all are whole renames each into place.
# On a failure the copies go and the originals stay untouched.
move_entries() {
  local out entry name unreadable
  if ! out=$(mktemp -d -- "$there/.moving.XXXXXX" 2>&1); then
    not_moved "$(reason_of "$out")"
    return 1
  fi
  moving=$out
  for entry; do
    name=${entry##*/}
    if ! out=$(cp -R -P --preserve=mode,timestamps -- "$entry" "$moving/" 2>&1); then
      # A save the user may not read (left by a run as root, say) is named:
      # the data folder was written, it is the reading that failed.
      unreadable=$(unreadable_in "$entry")
      drop_copies
      if [ -n "$unreadable" ]; then
        say_not_moved "$unreadable cannot be read ($(reason_of "$out"))" "make it readable" "$copy_left"
      else
        not_moved "$(reason_of "$out")" "$copy_left"
      fi
      return 1
    fi
    pause_at copying
    if ! diff -r -q --no-dereference -- "$entry" "$moving/$name" >/dev/null 2>&1; then
      drop_copies
      not_moved "the copy of $name differs from it" "$copy_left"
      return 1
    fi
  done
  pause_at copied
  local placed=()
  for entry; do
    name=${entry##*/}
    # -n never replaces: a name that appeared meanwhile leaves the copy
    # where it is, found below, and the original stays.
    out=$(mv -n -T -- "$moving/$name" "$there/$name" 2>&1) || true
    if [ -e "$moving/$name" ] || [ -L "$moving/$name" ]; then
      [ -n "$out" ] || out="$name appeared there meanwhile"
      # The entries already placed go back among the copies, so all stay
      # where they were, as the line says.
      for name in "${placed[@]}"; do mv -n -T -- "$there/$name" "$moving/$name" 2>/dev/null || true; done
      drop_copies
      not_moved "$(reason_of "$out")" "$copy_left"
      return 1
    fi
    placed+=("$name")
    pause_at placing
  done
  pause_at placed
  drop_copies
}

# drop_copies: removes the copies; a part copy it could not remove is named in copy_left.
drop_copies() {
  copy_left=
  rm -rf -- "$moving" 2>/dev/null || true
  [ ! -e "$moving" ] || copy_left=" A part copy is left in $moving: remove it."
  moving=
}

# remove_originals <entry>...: removes the originals of entries kept whole in
# the data folder. Each first goes, in one rename, into a hidden folder of the
# game folder's, which is then removed: cut anywhere, a save stands whole in
# the game folder or not at all, and what is left hidden the next start clears.
remove_originals() {
  local out entry name trash reason='' left=()
  if ! trash=$(mktemp -d -- "$here/.removing.XXXXXX" 2>&1); then
    reason=$(reason_of "$trash")
    for entry; do left+=("${entry##*/}"); done
  else
    for entry; do
      name=${entry##*/}
      if ! out=$(mv -T -- "$entry" "$trash/$name" 2>&1); then
        reason=$(reason_of "$out")
        left+=("$name")
      fi
      pause_at removing
    done
    pause_at removed
    if ! out=$(rm -rf -- "$trash" 2>&1); then
      trash_left "$trash" "$(reason_of "$out")"
      return 1
    fi
  fi
  if [ ${#left[@]} -eq 1 ]; then
    echo "\"${left[0]}\" is kept whole in $there, but stays in $here too, since it could not be removed ($reason):" \
      "remove it by hand, and the next ./run.sh links the folder." >&2
    return 1
  elif [ ${#left[@]} -gt 1 ]; then
    echo "$(printf '"%s" ' "${left[@]}")are kept whole in $there, but stay in $here too, since they could not be" \
      "removed ($reason): remove them by hand, and the next ./run.sh links the folder." >&2
    return 1
  fi
  pause_at emptied
}

# trash_left <folder> <reason>: what could not be removed of originals already kept.
trash_left() {
  echo "$1 holds what is left of saves kept whole in $there, and could not be removed ($2):" \
    "remove it by hand, and the next ./run.sh links the folder." >&2
}

# clear_left_over <folder> <prefix>: removes the hidden folders named
# <prefix>XXXXXX that a start cut short left in the folder. Returns 1, having
# said so, when one stays.
clear_left_over() {
  local out left_over found
  shopt -s nullglob
  found=("$1/$2"??????)
  shopt -u nullglob
  for left_over in "${found[@]}"; do
    if ! out=$(rm -rf -- "$left_over" 2>&1); then
      if [ "$2" = .removing. ]; then
        trash_left "$left_over" "$(reason_of "$out")"
      else
        echo "A part copy a start cut short left in $left_over could not be removed ($(reason_of "$out")):" \
          "remove it." >&2
      fi
      return 1
    fi
  done
}

# A start cut short while copying left its part copies among the kept saves:
# they go first, wherever this game folder's saves stand, as they take room
# and would be listed as saves.
if [ -d "$kept" ]; then
  take_lock
  if [ "$lock" = held ]; then
    for folder in save pbem; do
      there="$kept/$folder"
      clear_left_over "$there" .moving. || true
    done
  fi
fi

for folder in save pbem; do
  here="$game/data/$folder"
  there="$kept/$folder"
  if [ -L "$here" ]; then
    target=$(readlink -- "$here")
    if [ "$target" = "$there" ]; then
      # The link made here before: the data folder removed since is made
      # again, or, when it cannot be, the game folder saves meanwhile.
      [ -d "$here" ] && continue
      out=$(mkdir -p -- "$there" 2>&1) && continue
      { rm -f -- "$here" && mkdir -- "$here"; } 2>/dev/null || true
      not_kept "$(reason_of "$out")"
    elif [ ! -e "$here" ]; then
      echo "$here is left linked to $target, which is not there (a disk not mounted?):" \
        "nothing is saved there until it is." >&2
    fi
    continue
  fi
  if [ -e "$here" ] && [ ! -d "$here" ]; then
    echo "$here is not a folder; it is left as it is" >&2
    continue
  fi
  entries=()
  if [ -d "$here" ]; then
    # What a start cut while removing originals left: each is kept whole already.
    clear_left_over "$here" .removing. || continue
    shopt -s dotglob nullglob
    entries=("$here"/*)
    shopt -u dotglob nullglob
  fi
  if ! out=$(mkdir -p -- "$there" 2>&1); then
    if [ ${#entries[@]} -gt 0 ]; then not_moved "$(reason_of "$out")"; else not_kept "$(reason_of "$out")"; fi
    continue
  fi
  take_lock
  if [ ${#entries[@]} -gt 0 ]; then
    clashes=()
    fresh=()
    for entry in "${entries[@]}"; do
      name=${entry##*/}
      if [ -e "$there/$name" ] || [ -L "$there/$name" ]; then
        same_in_both "$name" || clashes+=("$name")
      else
        fresh+=("$entry")
      fi
    done
    if [ ${#clashes[@]} -gt 0 ]; then
      echo "$here stays in the game folder, since $there holds $(printf '"%s" ' "${clashes[@]}")too:" \
        "rename one of each pair, and the next ./run.sh moves them all there" >&2
      continue
    fi
    if [ ${#fresh[@]} -gt 0 ]; then move_entries "${fresh[@]}" || continue; fi
    # Only once every entry is in place do the originals go.
    remove_originals "${entries[@]}" || continue
  fi
  if [ -d "$here" ] && ! rmdir -- "$here" 2>/dev/null; then
    echo "$here stays in the game folder, since a save appeared in it while they were moved:" \
      "the next ./run.sh moves it too" >&2
    continue
  fi
  pause_at unlinked
  mkdir -p "$game/data"
  ln -s -- "$there" "$here"
done
