#!/usr/bin/env bash
# Keeps the player's saves (data/save) and play-by-e-mail turns (data/pbem)
# out of the build: they live in the user's data folder,
# $XDG_DATA_HOME/tidereach (by default ~/.local/share/tidereach), and the game
# folder holds links to them, so removing the build loses none of them.
# What a game folder's own save folders already hold is moved there first.
# A link that leads to the kept folder, however its path is spelled, is the
# one made here; when the player removed that folder since, it is made again.
# Any other link is the player's (to keep the saves elsewhere) and is left as
# it is, said in one line when it points to nothing. An entry the same in
# both places is kept once; one that differs is kept twice, the game folder's
# under a name of its own, said in one line with which is the newer.
# When the data folder cannot take them (full, read-only), the saves stay
# whole in the game folder, which is then not linked, and one line says why:
# the game still starts and saves there until a later start moves them.
#
# How a folder moves, so that a start cut at any instant, inside any command,
# leaves only what the next start clears by itself:
# 1. Each entry not kept alike yet is copied into a folder of the script's
#    own beside the kept folder (.keep_saves.<folder>.copy.*), recorded in
#    the game's data folder so that a start with another data folder finds
#    it too. The game folder stays as it is meanwhile.
# 2. Holding the game's own lock on its save folder (its saves take turns by
#    it), the folder leaves the game's reach in one rename, into
#    .keep_saves.<folder>.out.* in the game's data folder, and the link takes
#    its place at once: a game saving meanwhile saves into the kept folder,
#    and a save cut by the rename fails in the game as a failed save.
# 3. Each original moved out goes into the kept folder (its copy renamed into
#    place, never over a name there), is compared with what was placed, and
#    only then is renamed into .keep_saves.<folder>.verified.*: that folder
#    alone is removed, blindly, by this start or the next.
# A start cut after step 2 leaves its folder moved out while the game saves
# into the kept folder meanwhile. A save the game wrote there again since
# replaces the one moved out, as any save of the name does: step 2 leaves a
# stamp beside the kept folder (.keep_saves.<folder>.moved.*), and an entry
# written and put in place after it is the game's later save.
# The game's own working folders (.saving%*, .old%*) are the game's: never
# copied as saves, and tidied in a moved-out folder by the game's own rule.
# discard is the one place anything is removed.
#
# Starts at once take turns, by locks always taken in one order: the game
# folder's (starts with different data folders on it), the data folder's,
# then the game's own on the save folders while one moves.
#
# usage: scripts/keep_saves.sh <game folder>
set -euo pipefail
shopt -s extglob

game=${1:?usage: scripts/keep_saves.sh <game folder>}
data_home=${XDG_DATA_HOME:-}
# Only an absolute path counts; anything else means the default.
[[ $data_home == /* ]] || data_home="$HOME/.local/share"
# One spelling, whatever slashes the setting doubles or ends with.
data_home=${data_home//+(\/)/\/}
kept="${data_home%/}/tidereach"
gdata="$game/data"
# The suffix that tells a clashing entry of the game folder from the kept one.
clash_suffix=" (game folder"
max_save_name=54

# pause_at <step>: with TIDEREACH_KEEP_SAVES_PAUSE_AT=<step>, says so on the
# standard output and stops there the first time, so that a test can kill the
# start at that very step as a power cut would, or let it go on.
pause_at() {
  [ "${TIDEREACH_KEEP_SAVES_PAUSE_AT:-}" = "$1" ] || return 0
  TIDEREACH_KEEP_SAVES_PAUSE_AT=
  echo "paused at $1"
  kill -STOP $$
}

# hold <folder> [what to say when waiting]: holds a lock on the folder until
# the script ends, or let_go; the commands it runs inherit it, so a start
# killed while one runs leaves the lock to that command until it ends. A
# folder that takes no lock is not waited on.
held=()
hold() {
  local fd taken=0 path
  held_fd=
  # A second lock of this process's own on a folder would wait for itself.
  for path in "${held[@]}"; do [ ! "$path" -ef "$1" ] || return 0; done
  { exec {fd}<"$1"; } 2>/dev/null || return 0
  held+=("$1")
  held_fd=$fd
  flock -n -E 3 "$fd" 2>/dev/null || taken=$?
  [ "$taken" = 3 ] || return 0
  [ -z "${2:-}" ] || echo "$2" >&2
  pause_at waiting
  flock "$fd" 2>/dev/null || true
}

# discard <path>: the one place anything is removed, and only what the script
# itself makes: its own folders (.keep_saves.*), whatever is inside one of its
# copy folders, the game's working folders inside a folder it moved out of
# the game's reach, and the link it made. A folder's modes copied from a save
# (read-only, say) do not keep it. 1, said, when it cannot be removed.
discard() {
  local name=${1##*/} parent=${1%/*} out
  case "$name/${parent##*/}" in
    .keep_saves.*/* | */.keep_saves.*.copy.* | .saving%*/.keep_saves.*.out.* | .old%*/.keep_saves.*.out.*) ;;
    *) [[ -L $1 && ($1 == "$gdata/save" || $1 == "$gdata/pbem") ]] ||
      { echo "keep_saves.sh: $1 is not the script's to remove" >&2; return 1; } ;;
  esac
  out=$(rm -rf -- "$1" 2>&1) && return 0
  out=$({ chmod -R u+rwx -- "$1" && rm -rf -- "$1"; } 2>&1) && return 0
  echo "$1 was left by moving saves and could not be removed ($(reason_of "$out")): the next ./run.sh tries again." >&2
  return 1
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

# not_moved <what failed> <reason>: the one line the player reads when the
# saves stay in the game folder, for a failure on the data folder side.
not_moved() {
  local what todo
  cause_of "$2" "$1 ($2)"
  say_not_moved "$what" "$todo"
}
say_not_moved() {
  echo "$(label) not moved: $1. They stay in $here as they were, and the game saves there meanwhile;" \
    "$2 and the next ./run.sh moves them." >&2
}

# not_linked <what a command printed>: the line for a game folder's save folder
# that cannot be replaced by a link (its data folder may not be written).
not_linked() {
  echo "$here could not be replaced by a link to $there ($(reason_of "$1")): mend that, and the next" \
    "./run.sh links it" >&2
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

# entries_of <folder>: sets entries to what the folder holds, hidden ones too.
entries_of() {
  shopt -s dotglob nullglob
  entries=("$1"/*)
  shopt -u dotglob nullglob
}

# is_game_work <name>: one of the game's own working folders, not a save.
is_game_work() { [[ $1 == .saving%* || $1 == .old%* ]]; }

# copy_folder <parent>: sets copy to a new folder of the script's own in that
# folder (beside the kept one), recorded in the game's data folder first when
# it is elsewhere, so that whichever start of this game folder comes next
# finds it. 1, with the reason in out, when it cannot be made.
copy_folder() {
  local unique=$SRANDOM$$
  copy="$1/.keep_saves.$folder.copy.$unique"
  not_recorded=
  if [ "$1" != "$gdata" ] && ! out=$(ln -s -- "$copy" "$gdata/.keep_saves.$folder.copying.$unique" 2>&1); then
    copy=
    not_recorded=yes
    return 1
  fi
  out=$(mkdir -- "$copy" 2>&1) && return 0
  discard "$gdata/.keep_saves.$folder.copying.$unique" 2>/dev/null || true
  copy=
  return 1
}

# clear_leftovers: removes what starts cut short left: copy folders (also in
# another data folder, by their record), verified originals. Under the game
# folder's and the data folder's locks, so none of them is a running start's.
clear_leftovers() {
  local left target
  shopt -s nullglob
  for left in "$gdata"/.keep_saves.*.copying.*; do
    target=$(readlink -- "$left") || continue
    [[ ${target##*/} == .keep_saves.*.copy.* ]] && { [ ! -e "$target" ] || discard "$target"; } || continue
    discard "$left" || true
  done
  for left in "$gdata"/.keep_saves.*.copy.* "$gdata"/.keep_saves.*.verified.* "$kept"/.keep_saves.*.copy.*; do
    discard "$left" || true
  done
  # A stamp names its game folder; one of another game folder's stays for
  # that one's next start, unless a cut left it empty.
  for left in "$kept"/.keep_saves.*.moved.*; do
    target=$(cat -- "$left" 2>/dev/null) || continue
    [ -z "$target" ] || { [ "$target" = "$gdata" ] && [ ! -e "$(moved_out_of "$left")" ]; } || continue
    discard "$left" || true
  done
  shopt -u nullglob
}

# stamp_of <moved-out folder> <the folder it was linked to>, moved_out_of
# <stamp>: the one's path from the other's. The stamp stands beside the folder
# linked, as the copies do, where a start with another data folder finds it.
stamp_of() {
  local name=${1##*/}
  echo "${2%/*}/${name/%.out.${name##*.}/.moved.${name##*.}}"
}
moved_out_of() {
  local name=${1##*/}
  echo "$gdata/${name/%.moved.${name##*.}/.out.${name##*.}}"
}

# superseded_in <moved-out folder> <the folder linked>: adds to superseded
# each entry of it that the folder linked holds otherwise, written and put in
# place there after the folder was moved out: the game saved it again while
# the start that moved it was cut short. Both times are that folder's file
# system's own: the stamp's, made before the link let a game save there, and
# the entry's.
superseded_in() {
  local from=$1 linked=$2 stamp entry name later
  stamp=$(stamp_of "$from" "$linked")
  [ -f "$stamp" ] || return 0
  entries_of "$from"
  for entry in "${entries[@]}"; do
    name=${entry##*/}
    ! is_game_work "$name" || continue
    { [ -e "$linked/$name" ] || [ -L "$linked/$name" ]; } || continue
    # A copy placed with its times kept (a start of another game folder's) is no later save.
    # The times first: only a later entry's contents are compared.
    later=$(find "$linked/$name" -maxdepth 0 -newermm "$stamp" -newercm "$stamp" 2>/dev/null) || continue
    [ -n "$later" ] && ! same "$entry" "$linked/$name" && superseded+=("$entry") || true
  done
}

# is_superseded <entry>: whether superseded_in found it.
is_superseded() {
  local entry
  for entry in "${superseded[@]}"; do [ "$entry" != "$1" ] || return 0; done
  return 1
}

# precopy: copies each entry of the game folder's save folder not kept alike
# yet into a copy folder beside the kept one, while the folder stays in the
# game's reach. An entry the game changes meanwhile is copied again once moved
# out; a failure on the data folder's side leaves all as it was, said. 1 then.
precopy() {
  local entry name out unreadable
  copy=
  entries_of "$here"
  for entry in "${entries[@]}"; do
    name=${entry##*/}
    ! is_game_work "$name" || continue
    if [ -e "$there/$name" ] || [ -L "$there/$name" ]; then same "$entry" "$there/$name" && continue; fi
    if [ -z "$copy" ]; then
      if ! copy_folder "$kept"; then
        if [ -n "$not_recorded" ]; then not_linked "$out"; else not_moved "they could not be copied to $there" "$(reason_of "$out")"; fi
        return 1
      fi
      # The copies could be made, and not placed.
      if [ ! -w "$there" ]; then
        not_moved "they could not be copied to $there" "Permission denied"
        discard_copy
        return 1
      fi
    fi
    out=$(cp -R -P --preserve=mode,timestamps -- "$entry" "$copy/" 2>&1) && { pause_at copying; continue; }
    # A save the user may not read (left by a run as root, say) is named:
    # the data folder was written, it is the reading that failed.
    unreadable=$(unreadable_in "$entry")
    if [ -n "$unreadable" ]; then
      say_not_moved "$unreadable cannot be read ($(reason_of "$out"))" "make it readable"
    elif [[ $out == *"No such file or directory"* && -e $there ]]; then
      # Swapped by a game meanwhile: copied again once moved out.
      discard "$copy/$name" && continue
    else
      not_moved "they could not be copied to $there" "$(reason_of "$out")"
    fi
    discard_copy
    return 1
  done
  pause_at copied
}

# discard_copy: removes the copy folder and its record.
discard_copy() {
  [ -n "$copy" ] || return 0
  discard "$copy" || true
  [ "${copy%/*}" = "$gdata" ] || discard "$gdata/.keep_saves.$folder.copying.${copy##*.}" || true
  copy=
}

# rename_read_only <folder> <to>: a folder the user may not write (a save's
# modes) moves into another folder all the same, its modes kept.
rename_read_only() {
  [ -d "$1" ] && [ ! -L "$1" ] && [ ! -w "$1" ] || return 1
  local mode
  mode=$(stat -c %a -- "$1") && chmod u+w -- "$1" && mv -n -T -- "$1" "$2" || return 1
  if [ -e "$1" ]; then chmod -- "$mode" "$1"; else chmod -- "$mode" "$2"; fi
}

# clash_name <name> <n>: the n-th name for the game folder's entry of a name
# the target holds otherwise, within the game's rule for a save's name.
clash_name() {
  local LC_ALL=C.UTF-8 suffix="$clash_suffix)" base=$1
  [ "$2" = 1 ] || suffix="$clash_suffix $2)"
  base=${base:0:$((max_save_name - ${#suffix}))}
  echo "$base$suffix"
}

# tidy_game_work <moved-out folder>: the game's working folders in it, by the
# game's own rule: a save being written by a game (held) is waited for, since
# its swap fails once the folder is moved; one nobody holds is a save that
# never finished; a previous folder left aside goes back under its name when
# that is free, else it was replaced. 1 when one is still held.
tidy_game_work() {
  local entry name rest owner busy=0
  entries_of "$1"
  for entry in "${entries[@]}"; do
    name=${entry##*/}
    if [[ $name == .saving%* ]]; then
      if flock -w 10 -- "$entry" true 2>/dev/null || [ ! -d "$entry" ]; then discard "$entry" || true; else busy=1; fi
    elif [[ $name == .old%* ]]; then
      rest=${name#.old%}
      if [[ $rest == *%%* ]]; then
        entries_of "$entry"
        # A holder of anything else is the game's to look at; an empty one goes.
        [ ${#entries[@]} = 1 ] && [ -d "${entries[0]}" ] || { rmdir -- "$entry" 2>/dev/null || true; continue; }
        owner=${entries[0]##*/}
        mv -n -T -- "${entries[0]}" "$1/$owner" 2>/dev/null || true
      else
        owner=${rest%%%*}
        mv -n -T -- "$entry" "$1/$owner" 2>/dev/null || true
      fi
      [ ! -e "$entry" ] || discard "$entry" || true
    fi
  done
  return $busy
}

# drain <moved-out folder> <target folder>: puts each original there into the
# target, verified, and removes the moved-out folder. A name the target holds
# otherwise keeps both. 1, with what failed in out, when a copy fails; what
# is not placed then stays in the moved-out folder. Names whose originals
# could not be removed are added to left.
drain() {
  local from=$1 target=$2 real parent entry name n dest verified= failed=0
  real=$target
  if [ "$target" -ef "$there" ]; then real=$there
  elif [ -L "$target" ]; then real=$(realpath -- "$target")
  fi
  parent=${real%/*}
  # The game's saves into the target take turns with the placing.
  hold "$real"
  tidy_game_work "$from" || true
  shopt -s nullglob
  entries=("$parent"/.keep_saves."$folder".copy.*)
  shopt -u nullglob
  copy=${entries[0]:-}
  entries_of "$from"
  for entry in "${entries[@]}"; do
    name=${entry##*/}
    ! is_game_work "$name" || continue
    dest="$target/$name"
    n=1
    # The game's later save of the name stands in its place: it goes as a placed one does.
    if ! is_superseded "$entry"; then
      # Kept alike already, under its name or, a clash placed before, under one of its own.
      while { [ -e "$dest" ] || [ -L "$dest" ]; } && ! same "$entry" "$dest"; do
        dest="$target/$(clash_name "$name" "$n")"
        n=$((n + 1))
      done
      if [ ! -e "$dest" ] && [ ! -L "$dest" ]; then
        place || { failed=1; break; }
        pause_at placing
      fi
      [ "$dest" = "$target/$name" ] || say_clash "$name" "${dest##*/}" "$target" "$entry" "$shown"
    fi
    if [ -z "$verified" ]; then
      verified="$gdata/.keep_saves.$folder.verified.$SRANDOM$$"
      mkdir -- "$verified" 2>/dev/null || verified=
    fi
    # An original read-only (its folder's modes) is let go all the same: kept alike, it goes.
    if [ -z "$verified" ] ||
      ! { out=$(mv -T -- "$entry" "$verified/$name" 2>&1) ||
        out=$({ chmod u+w -- "$from" && { [ ! -d "$entry" ] || [ -L "$entry" ] || chmod u+w -- "$entry"; } &&
          mv -T -- "$entry" "$verified/$name"; } 2>&1); }; then
      left+=("$name")
      left_reason=$(reason_of "$out")
    fi
  done
  pause_at verified
  [ -z "$verified" ] || discard "$verified" || true
  [ "$failed" = 0 ] || return 1
  discard_copy
  rmdir -- "$from" 2>/dev/null || true
}

# place: puts the copy of $entry at $dest, made now unless one made before
# the move is still alike; when a game took that name meanwhile, under the
# next name of its own. 1, with what failed in out, when it cannot.
place() {
  if [ -z "$copy" ] || { [ ! -e "$copy/$name" ] && [ ! -L "$copy/$name" ]; } || ! same "$entry" "$copy/$name"; then
    [ -n "$copy" ] || copy_folder "$parent" || return 1
    { [ ! -e "$copy/$name" ] && [ ! -L "$copy/$name" ]; } || discard "$copy/$name" || return 1
    out=$(cp -R -P --preserve=mode,timestamps -- "$entry" "$copy/" 2>&1) || return 1
    same "$entry" "$copy/$name" || { out="the copy of $name differs from it"; return 1; }
  fi
  # -n never replaces a name there.
  while :; do
    out=$(mv -n -T -- "$copy/$name" "$dest" 2>&1) || rename_read_only "$copy/$name" "$dest" ||
      [ -e "$dest" ] || [ -L "$dest" ] || return 1
    [ -e "$copy/$name" ] || [ -L "$copy/$name" ] || return 0
    dest="$target/$(clash_name "$name" "$n")"
    n=$((n + 1))
  done
}

# say_clash <name> <its name of its own> <target> <the game folder's entry> <target as said>:
# the one line on a name kept twice.
say_clash() {
  local newer="both bear the same time"
  if [ "$4" -nt "$3/$1" ]; then newer="\"$2\" is the newer"
  elif [ "$3/$1" -nt "$4" ]; then newer="\"$1\" is the newer"
  fi
  echo "$5 holds \"$1\" twice: \"$1\" as it was kept there, \"$2\" as $here held it; $newer." >&2
}

# ours: whether the game folder's link leads to the kept folder, however
# either path is spelled (a slash more or less in XDG_DATA_HOME).
ours() {
  [ "$here" -ef "$there" ] || [ "$(realpath -m -- "$here" 2>/dev/null)" = "$(realpath -m -- "$there" 2>/dev/null)" ]
}

# keep_folder: keeps the game folder's save folder $here in $there, linked.
keep_folder() {
  local out from moved=
  if [ -L "$here" ]; then
    if ours; then
      # The data folder removed since is made again, or, when it cannot be,
      # the game folder saves meanwhile.
      if [ ! -d "$here" ] && ! out=$(mkdir -p -- "$there" 2>&1); then
        { discard "$here" && mkdir -- "$here"; } 2>/dev/null || true
        not_kept "$(reason_of "$out")"
        return
      fi
    elif [ ! -e "$here" ]; then
      echo "$here is left linked to $(readlink -- "$here"), which is not there (a disk not mounted?):" \
        "nothing is saved there until it is." >&2
      return
    fi
  elif [ -e "$here" ] && [ ! -d "$here" ]; then
    echo "$here is not a folder; it is left as it is" >&2
    return
  else
    if [ ! -d "$there" ] && ! out=$(mkdir -p -- "$there" 2>&1); then
      entries_of "$here"
      if [ ${#entries[@]} -gt 0 ]; then not_moved "$there could not be made" "$(reason_of "$out")"; else not_kept "$(reason_of "$out")"; fi
      return
    fi
    # A game folder whose data folder leads into the kept one holds the kept saves themselves.
    [ ! "$here" -ef "$there" ] || return 0
    if [ -d "$here" ]; then
      precopy || return 0
      # The game's saves into the kept folder wait until all is placed; its
      # saves into this one until it is moved.
      hold "$there"
      hold "$here"
      local game_fd=$held_fd
      moved="$gdata/.keep_saves.$folder.out.$SRANDOM$$"
      if ! out=$(mv -T -- "$here" "$moved" 2>&1); then
        discard_copy
        not_linked "$out"
        return
      fi
      # Before the link, under the kept folder's lock: no game saved there since.
      { echo "$gdata" >"$(stamp_of "$moved" "$there")"; } 2>/dev/null || true
      pause_at moved
    fi
    if ! out=$(ln -s -T -- "$there" "$here" 2>&1); then
      # Made again meanwhile (by the build's step, say): when empty, it goes.
      rmdir -- "$here" 2>/dev/null && out=$(ln -s -T -- "$there" "$here" 2>&1) ||
        echo "$here could not be linked to $there ($(reason_of "$out")): the next ./run.sh tries again" >&2
    fi
    # A save waiting on the folder moved out goes on, and fails as the
    # game's own failed save; its working folder is then let go.
    if [ -n "${game_fd:-}" ]; then
      exec {game_fd}<&-
      unset 'held[-1]'
    fi
    pause_at linked
  fi
  # What is moved out, by this start or one cut short, goes where the game
  # folder's save folder now leads.
  shopt -s nullglob
  moved=("$gdata"/.keep_saves."$folder".out.*)
  shopt -u nullglob
  [ ${#moved[@]} -gt 0 ] || return 0
  local linked= stamp
  if [ -L "$here" ] && [ -d "$here" ]; then linked=$(realpath -- "$here" 2>/dev/null) || linked=; fi
  # Found before any is placed, which would be later than every stamp.
  superseded=()
  if [ -n "$linked" ]; then
    hold "$linked"
    for from in "${moved[@]}"; do superseded_in "$from" "$linked"; done
  fi
  for from in "${moved[@]}"; do
    drain_into_place "$from"
    [ -n "$linked" ] && [ ! -e "$from" ] || continue
    stamp=$(stamp_of "$from" "$linked")
    [ ! -e "$stamp" ] || discard "$stamp" || true
  done
}

# drain_into_place <moved-out folder>: drains it where the game looks; when
# that fails, what is left goes back in place of the link, unlinked, said.
drain_into_place() {
  local from=$1 shown=$here left=()
  [ -d "$here" ] || return 0
  [ ! -L "$here" ] || ! ours || shown=$there
  if drain "$from" "$here"; then
    [ ${#left[@]} = 0 ] && return 0
    local are=are
    [ ${#left[@]} -gt 1 ] || are=is
    echo "$(names "${left[@]}")$are kept whole in $shown: their originals, moved out of $here into $from, could not" \
      "be removed ($left_reason); the next ./run.sh tries again." >&2
    return
  fi
  local reason=$out
  discard_copy
  if [ -L "$here" ] && ours && discard "$here" && mv -T -- "$from" "$here" 2>/dev/null; then
    not_moved "they could not be copied to $there" "$(reason_of "$reason")"
  else
    echo "Saves moved out of $here are in $from, and could not all be placed in it ($(reason_of "$reason")):" \
      "the next ./run.sh places them." >&2
  fi
}

# Nothing to do, the usual start: both folders linked to the kept ones and
# nothing left by a start cut short. Told without a single command.
settled() {
  local folder left
  for folder in save pbem; do
    [ -L "$gdata/$folder" ] && [ "$gdata/$folder" -ef "$kept/$folder" ] || return 1
  done
  shopt -s nullglob dotglob
  left=("$gdata"/.keep_saves.* "$kept"/.keep_saves.*)
  shopt -u nullglob dotglob
  [ ${#left[@]} = 0 ]
}
settled && exit 0

mkdir -p -- "$gdata" "$kept" 2>/dev/null || true
hold "$game" "Waiting for another start to finish moving saves of $game"
hold "$kept" "Waiting for another start to finish moving saves into $kept"
clear_leftovers

for folder in save pbem; do
  here="$gdata/$folder"
  there="$kept/$folder"
  keep_folder
done
