#!/usr/bin/env bash
# Keeps the player's saves (data/save) and play-by-e-mail turns (data/pbem)
# out of the build: they live in the user's data folder,
# $XDG_DATA_HOME/tidereach (by default ~/.local/share/tidereach), and the game
# folder holds links to them, so removing the build loses none of them.
# What a game folder's own save folders already hold is moved there first.
# A link that leads to the kept folder, however its path is spelled, is the
# one made here; when the player removed that folder since, it is made again.
# Any other link is the player's (to keep the saves elsewhere) and is left as
# it is, said in one line when it points to nothing. A folder whose entries
# clash with different ones already kept is reported and not linked; an entry
# the same in both places is kept once.
# When the data folder cannot take them (full, read-only), the saves stay
# whole in the game folder, which is then not linked, and one line says why:
# the game still starts and saves there until a later start moves them.
#
# Starts at once take turns: each holds the data folder's lock before it looks
# at anything, so it sees what the one before it left, links included.
# A start cut short at any step, even by a kill no trap sees, leaves what the
# next start clears: part copies are made under a hidden name in the data
# folder, and an original leaves the game folder in one rename, into a hidden
# folder there. What is in that folder is removed only where it is the same
# as its kept copy; anything else (changed since it was copied, say by a game
# still running from that folder) goes back where it was.
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

# take_lock: holds the kept folder's lock until the script ends, so a part
# copy found meanwhile was left by a start that is gone. The commands the
# script runs hold it too: a start killed while a copy runs leaves it to that
# copy until it ends. A folder that takes no lock is not waited on.
locked=
take_lock() {
  local fd taken=0
  { exec {fd}<"$kept"; } 2>/dev/null || return 0
  flock -n -E 3 "$fd" 2>/dev/null || taken=$?
  if [ "$taken" = 3 ]; then
    echo "Waiting for another start to finish moving saves into $kept" >&2
    pause_at waiting
    flock "$fd" 2>/dev/null || return 0
  elif [ "$taken" != 0 ]; then
    return 0
  fi
  locked=yes
}

# names <name>...: the names quoted, as the player's lines give them.
names() { printf '"%s" ' "$@"; }

# reason_of <what a failed command printed>: the system's reason, last of its last line.
reason_of() {
  local line=${1##*$'\n'}
  echo "${line##*: }"
}

# in_the_way <path>: what stands, not a folder, where the path or a folder
# above it belongs (a file, or a link to nothing); nothing when none does.
in_the_way() {
  local path=$1
  while [ ! -e "$path" ] && [ ! -L "$path" ]; do
    path=${path%/*}
    [ -n "$path" ] || return 0
  done
  [ -d "$path" ] || echo "$path"
}

# cause_of <reason> <what otherwise>: sets the player's words for a failure
# on the data folder side, what went wrong and what to do.
cause_of() {
  local blocker
  blocker=$(in_the_way "$there")
  if [ -L "$blocker" ] && [ ! -e "$blocker" ]; then
    what="$blocker leads to $(readlink -- "$blocker"), which is not there (a disk not mounted?)"
    todo="mount it, or remove the link"
    return
  elif [ -n "$blocker" ]; then
    what="$blocker is a file, where a folder belongs"
    todo="move that file away"
    return
  fi
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

# not_moved <what failed> <reason> [more]: the same, for a failure on the data folder side.
not_moved() {
  local what todo
  cause_of "$2" "$1 ($2)"
  say_not_moved "$what" "$todo" "${3:-}"
}

# not_kept <reason>: the line for a folder with nothing to move, whose place in
# the data folder cannot be made.
not_kept() {
  local what todo
  cause_of "$1" "$there could not be made ($1)"
  echo "$(label) not kept outside the build: $what. New ones go into $here meanwhile;" \
    "$todo and the next ./run.sh moves them." >&2
}

# same <entry> <entry>: whether both stand alike, links as links.
same() {
  diff -r -q --no-dereference -- "$1" "$2" >/dev/null 2>&1
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
    not_moved "they could not be copied to $there" "$(reason_of "$out")"
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
        not_moved "they could not be copied to $there" "$(reason_of "$out")" "$copy_left"
      fi
      return 1
    fi
    pause_at copying
    if ! same "$entry" "$moving/$name"; then
      drop_copies
      not_moved "they could not be copied to $there" "the copy of $name differs from it" "$copy_left"
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
      not_moved "they could not be copied to $there" "$(reason_of "$out")" "$copy_left"
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
# game folder's, so that nothing writes into it by its name any more, and is
# compared with its kept copy there (empty_trash): cut anywhere, a save stands
# whole in the game folder or among what the next start clears the same way.
remove_originals() {
  local out entry name trash reason='' left=() changed=() failed=0
  # Only a folder of its own, never one that leads to the kept saves.
  [ ! -L "$here" ] && [ ! "$here" -ef "$there" ] || return 1
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
    empty_trash "$trash" || return 1
    # Back in the game folder, changed since they were copied; one whose kept
    # copy went meanwhile is only a save to move, which the next start does.
    for name in "${put_back[@]}"; do
      if [ -e "$there/$name" ] || [ -L "$there/$name" ]; then changed+=("$name"); fi
    done
    if [ ${#changed[@]} -gt 0 ]; then
      echo "$(names "${changed[@]}")changed while being moved: $here keeps what the game saved, $there what" \
        "was copied before; remove what is not wanted, and the next ./run.sh moves the folder." >&2
      failed=1
    fi
  fi
  if [ ${#left[@]} -eq 1 ]; then
    echo "\"${left[0]}\" is kept whole in $there, but stays in $here too, since it could not be removed ($reason):" \
      "remove it by hand, and the next ./run.sh links the folder." >&2
    return 1
  elif [ ${#left[@]} -gt 1 ]; then
    echo "$(names "${left[@]}")are kept whole in $there, but stay in $here too, since they could not be" \
      "removed ($reason): remove them by hand, and the next ./run.sh links the folder." >&2
    return 1
  fi
  [ "$failed" = 0 ] || return 1
  pause_at emptied
}

# empty_trash <hidden folder of originals>: removes it once each original in
# it is found the same as its kept copy. One that is not goes back into the
# game folder, named in put_back; when its name is taken there meanwhile, the
# folder stays, said so.
empty_trash() {
  local trash=$1 entry name out inside reason stuck=()
  put_back=()
  shopt -s dotglob nullglob
  inside=("$trash"/*)
  shopt -u dotglob nullglob
  for entry in "${inside[@]}"; do
    name=${entry##*/}
    same "$entry" "$there/$name" && continue
    # -n never replaces a save of that name made there meanwhile.
    out=$(mv -n -T -- "$entry" "$here/$name" 2>&1) || true
    if [ -e "$entry" ] || [ -L "$entry" ]; then
      stuck+=("$name")
      reason=$(reason_of "${out:-\"$name\" is there again}")
    else
      put_back+=("$name")
    fi
  done
  if [ ${#stuck[@]} -gt 0 ]; then
    echo "$trash holds $(names "${stuck[@]}")not kept as they are in $there, and they could not go back into" \
      "$here ($reason): move them back by hand, and the next ./run.sh moves the folder." >&2
    return 1
  fi
  if ! out=$(rm -rf -- "$trash" 2>&1); then
    echo "$trash holds what is left of saves kept whole in $there, and could not be removed ($(reason_of "$out")):" \
      "remove it by hand, and the next ./run.sh links the folder." >&2
    return 1
  fi
}

# move_in: moves what the game folder's own save folder holds into the kept
# one, and removes it. Returns 1, having said why, when the folder stays.
move_in() {
  local trash trashes entry entries name out clashes=() fresh=()
  # What a start cut while removing originals left.
  shopt -s nullglob
  trashes=("$here"/.removing.??????)
  shopt -u nullglob
  for trash in "${trashes[@]}"; do empty_trash "$trash" || return 1; done
  shopt -s dotglob nullglob
  entries=("$here"/*)
  shopt -u dotglob nullglob
  for entry in "${entries[@]}"; do
    name=${entry##*/}
    if [ ! -e "$there/$name" ] && [ ! -L "$there/$name" ]; then
      fresh+=("$entry")
    elif ! same "$entry" "$there/$name"; then
      clashes+=("$name")
    fi
  done
  if [ ${#clashes[@]} -gt 0 ]; then
    echo "$here stays in the game folder, since $there holds $(names "${clashes[@]}")too:" \
      "rename one of each pair, and the next ./run.sh moves them all there" >&2
    return 1
  fi
  if [ ${#fresh[@]} -gt 0 ]; then move_entries "${fresh[@]}" || return 1; fi
  # Only once every entry is in place do the originals go.
  if [ ${#entries[@]} -gt 0 ]; then remove_originals "${entries[@]}" || return 1; fi
  out=$(rmdir -- "$here" 2>&1) && return 0
  if [[ $out == *"not empty"* ]]; then
    echo "$here stays in the game folder, since a save appeared in it while they were moved:" \
      "the next ./run.sh moves it too" >&2
  else
    echo "$here is empty, its saves kept in $there, but could not be replaced by a link to them" \
      "($(reason_of "$out")): mend that, and the next ./run.sh links it" >&2
  fi
  return 1
}

# The data folder is made first: its lock is what starts at once take turns by.
mkdir -p -- "$kept" 2>/dev/null || true
take_lock

# A start cut short while copying left its part copies among the kept saves:
# they go first, wherever this game folder's saves stand, as they take room
# and would be listed as saves. Only under the lock: without it, they may be
# another start's copies still being made.
if [ -n "$locked" ]; then
  shopt -s nullglob
  for left_over in "$kept"/save/.moving.?????? "$kept"/pbem/.moving.??????; do
    out=$(rm -rf -- "$left_over" 2>&1) ||
      echo "A part copy a start cut short left in $left_over could not be removed ($(reason_of "$out")): remove it." >&2
  done
  shopt -u nullglob
fi

for folder in save pbem; do
  here="$game/data/$folder"
  there="$kept/$folder"
  if [ -L "$here" ]; then
    # Told by where it leads, so that a path spelled otherwise (a slash more
    # or less in XDG_DATA_HOME) still finds the link made here before.
    if [ "$(realpath -m -- "$here" 2>/dev/null)" = "$(realpath -m -- "$there" 2>/dev/null)" ]; then
      # The data folder removed since is made again, or, when it cannot be,
      # the game folder saves meanwhile.
      [ -d "$here" ] && continue
      out=$(mkdir -p -- "$there" 2>&1) && continue
      { rm -f -- "$here" && mkdir -- "$here"; } 2>/dev/null || true
      not_kept "$(reason_of "$out")"
    elif [ ! -e "$here" ]; then
      echo "$here is left linked to $(readlink -- "$here"), which is not there (a disk not mounted?):" \
        "nothing is saved there until it is." >&2
    fi
    continue
  fi
  if [ -e "$here" ] && [ ! -d "$here" ]; then
    echo "$here is not a folder; it is left as it is" >&2
    continue
  fi
  if ! out=$(mkdir -p -- "$there" 2>&1); then
    if [ -n "$(ls -A -- "$here" 2>/dev/null)" ]; then
      not_moved "$there could not be made" "$(reason_of "$out")"
    else
      not_kept "$(reason_of "$out")"
    fi
    continue
  fi
  # A game folder whose data folder leads into the kept one holds the kept saves themselves.
  [ ! "$here" -ef "$there" ] || continue
  [ ! -d "$here" ] || move_in || continue
  pause_at unlinked
  if ! out=$({ mkdir -p -- "$game/data" && ln -s -T -- "$there" "$here"; } 2>&1); then
    echo "$here could not be linked to $there ($(reason_of "$out")): the next ./run.sh tries again" >&2
  fi
done
