#!/usr/bin/env bash
# Keeps the player's saves (data/save) and play-by-e-mail turns (data/pbem)
# out of the build: they live in the user's data folder,
# $XDG_DATA_HOME/tidereach (by default ~/.local/share/tidereach), and the game
# folder holds links to them, so removing the build loses none of them.
# What a game folder's own save folders already hold is moved there first.
# A folder that is a link already (made here before, or by the player to keep
# the saves elsewhere) is left as it is; so is a folder whose entries clash
# with names already kept, which is reported and not linked.
#
# usage: scripts/keep_saves.sh <game folder>
set -euo pipefail

game=${1:?usage: scripts/keep_saves.sh <game folder>}
data_home=${XDG_DATA_HOME:-}
# Only an absolute path counts; anything else means the default.
[[ $data_home == /* ]] || data_home="$HOME/.local/share"
kept="$data_home/tidereach"

for folder in save pbem; do
  here="$game/data/$folder"
  there="$kept/$folder"
  mkdir -p "$there"
  [ -L "$here" ] && continue
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
    # -n never replaces: a name that appeared meanwhile stays here, and the
    # rmdir below then stops before anything is linked over it.
    for entry in "${entries[@]}"; do mv -n -- "$entry" "$there/"; done
    rmdir -- "$here"
  elif [ -e "$here" ]; then
    echo "$here is not a folder; it is left as it is" >&2
    continue
  fi
  mkdir -p "$game/data"
  ln -s -- "$there" "$here"
done
