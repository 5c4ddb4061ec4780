#!/usr/bin/env bash
# Runs scripts/mutate.sh over many source files from one slips file, in which
# a line "@ <source file> <test target>" starts the slips of that file:
#
#   scripts/mutation_pass.sh <build dir> <slips file> [gtest filter]
#
# Run from the top of the source tree; prints mutate.sh's lines for all files.
set -u
if [ $# -lt 2 ]; then
  sed -n '2,7p' "$0" | sed 's/^# \{0,1\}//'
  exit 2
fi
build=$1 slips=$2 filter=${3:-*}
here=$(dirname "$0")
part=$(mktemp)
trap 'rm -f "$part"' EXIT
run() { [ -n "${source:-}" ] && [ -s "$part" ] && "$here/mutate.sh" "$build" "$source" "$target" "$part" "$filter"; : > "$part"; }
source='' target=''
while IFS= read -r row; do
  case $row in
    "@ "*) run; read -r _ source target <<< "$row" ;;
    *) printf '%s\n' "$row" >> "$part" ;;
  esac
done < "$slips"
run
