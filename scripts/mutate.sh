#!/usr/bin/env bash
# Applies one slip at a time to a source file, rebuilds one test program and
# runs it: a slip no test notices is a survivor. The file is put back after
# every slip and on any exit.
#
#   scripts/mutate.sh <build dir> <source file> <test targets> <slips file> [gtest filter]
#
# <test targets> is one test program or several joined by commas, each
# optionally with its own filter ("tests_ai,tests_integration=Sample*"); a
# slip is killed when any of them fails.
# Each line of the slips file is "<line>|<text>|<replacement>": the first
# <text> on that line of the source becomes <replacement>. Lines starting
# with # are skipped. Use a Release build: the runs are many. The build keeps
# the last slip's objects: rebuild before using it for anything else.
set -u
if [ $# -lt 4 ]; then
  sed -n '2,16p' "$0" | sed 's/^# \{0,1\}//'
  exit 2
fi
build=$1 source=$2 target=$3 slips=$4 filter=${5:-*}
backup=$(mktemp)
cp "$source" "$backup"
# A fresh time on every restore: the build must never keep a slip's objects.
restore() { cp "$backup" "$source" && touch "$source"; }
trap 'restore; rm -f "$backup"' EXIT
trap 'exit 130' INT TERM

IFS=, read -r -a programs <<< "$target"
run_all() {
  local program
  for program in "${programs[@]}"; do
    local own=$filter
    [ "${program#*=}" != "$program" ] && own=${program#*=}
    (cd "$build/tests" && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy \
      timeout -s KILL "${TIMEOUT:-600}" "./${program%%=*}" --gtest_brief=1 --gtest_filter="$own" \
      > /dev/null 2>&1) || return 1
  done
}

killed=0 survived=0 skipped=0
while IFS='|' read -r line text replacement; do
  [ -z "$line" ] || [ "${line#\#}" != "$line" ] && continue
  restore
  awk -v n="$line" -v t="$text" -v r="$replacement" '
    NR == n { i = index($0, t); if (i > 0) { $0 = substr($0, 1, i - 1) r substr($0, i + length(t)); hit = 1 } }
    { print }
    END { exit hit ? 0 : 1 }' "$backup" > "$source.slip" && cp "$source.slip" "$source" && touch "$source"
  status=$?
  rm -f "$source.slip"
  label="$source:$line '$text' -> '$replacement'"
  if [ $status -ne 0 ]; then
    echo "NOT FOUND  $label"; skipped=$((skipped + 1)); continue
  fi
  if ! nice cmake --build "$build" $(printf -- ' --target %s' "${programs[@]%%=*}") \
        --parallel "${JOBS:-3}" > /dev/null 2>&1; then
    echo "NO BUILD   $label"; skipped=$((skipped + 1)); continue
  fi
  if run_all; then
    echo "SURVIVED   $label"; survived=$((survived + 1))
  else
    echo "KILLED     $label"; killed=$((killed + 1))
  fi
done < "$slips"
restore
echo "killed $killed, survived $survived, not applied $skipped"
