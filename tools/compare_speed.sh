#!/bin/sh
# compare_speed.sh OLD NEW
# Builds two git revisions in Release, each in its own temporary folder, then
# runs their bench (depths 4 and 5) and perft (initial position, depth 6)
# alternately, RUNS times each (default 5), and prints the median nodes per
# second of each and the ratio NEW/OLD. On a shared machine the absolute
# figures drift with the load; running the two back to back, turn about,
# keeps the ratio fair. Other work on the machine only ever slows a run,
# so the ratio of the fastest run of each is printed too: it is the one
# least disturbed.
#
# A speed change must not change what is computed: the script fails when the
# two revisions' bench signatures or perft counts differ, or when a run does
# not end with its summary line.
#
# Environment: RUNS (default 5), JOBS (build parallelism, default 2),
# KEEP=1 to keep the temporary folders.
set -eu

if [ $# -ne 2 ]; then
  echo "usage: $0 OLD NEW (git revisions)" >&2
  exit 2
fi
old_rev=$1
new_rev=$2
runs=${RUNS:-5}
jobs=${JOBS:-2}
start_fen="rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"

repo=$(git rev-parse --show-toplevel)
work=$(mktemp -d "${TMPDIR:-/tmp}/compare_speed.XXXXXX")
cleanup() { [ "${KEEP:-0}" = 1 ] || rm -rf "$work"; }
trap cleanup EXIT
trap 'exit 1' INT TERM

fail() {
  echo "compare_speed: $*" >&2
  exit 1
}

# build NAME REV: a Release build of REV's bench and perft in $work/NAME/build.
build() {
  rev=$(git -C "$repo" rev-parse --verify "$2^{commit}") || fail "no such revision: $2"
  mkdir -p "$work/$1"
  git -C "$repo" archive "$rev" | tar -x -C "$work/$1"
  echo "building $1 ($2 = $(git -C "$repo" rev-parse --short "$rev"))"
  cmake -S "$work/$1" -B "$work/$1/build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
    >"$work/$1/cmake.log" 2>&1 || fail "configuring $2 failed, see $work/$1/cmake.log"
  cmake --build "$work/$1/build" -j "$jobs" --target bench perft \
    >"$work/$1/build.log" 2>&1 || fail "building $2 failed, see $work/$1/build.log"
}

# run NAME KIND ARG: one run; appends "count nps" to $work/NAME.KIND.ARG.
# The binaries read the key file from their working directory.
run() {
  if [ "$2" = bench ]; then
    line=$(cd "$work/$1/build" && ./bench "$3" | tail -n 1)
    result=$(echo "$line" | awk '$1 == "signature" && $5 == "ms" && $6 == "nps" { print $2, $7 }')
  else
    line=$(cd "$work/$1/build" && ./perft "$3" "$start_fen" | tail -n 1)
    result=$(echo "$line" | awk '$1 == "nodes" && $3 == "time_ms" && $5 == "nps" { print $2, $6 }')
  fi
  [ -n "$result" ] || fail "$1 $2 $3 ended with an unexpected line: $line"
  echo "$result" >>"$work/$1.$2.$3"
}

median_nps() { awk '{ print $2 }' "$1" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
best_nps() { awk '{ print $2 }' "$1" | sort -n | tail -n 1; }
ratio() { awk -v o="$1" -v n="$2" 'BEGIN { printf "%.2f", n / o }'; }
counts() { awk '{ print $1 }' "$1" | sort -u; }

build old "$old_rev"
build new "$new_rev"

cases="bench.4 bench.5 perft.6"
i=1
while [ "$i" -le "$runs" ]; do
  echo "round $i of $runs"
  for c in $cases; do
    kind=${c%.*}
    arg=${c#*.}
    run old "$kind" "$arg"
    run new "$kind" "$arg"
  done
  i=$((i + 1))
done

printf '\n%-10s %14s %14s %14s %8s %8s\n' case count "old nps" "new nps" new/old best
for c in $cases; do
  old_counts=$(counts "$work/old.$c")
  new_counts=$(counts "$work/new.$c")
  [ "$(echo "$old_counts" | wc -l)" -eq 1 ] || fail "old $c counts vary between runs: $old_counts"
  [ "$old_counts" = "$new_counts" ] || fail "$c counts differ: old $old_counts, new $new_counts"
  old_nps=$(median_nps "$work/old.$c")
  new_nps=$(median_nps "$work/new.$c")
  median_ratio=$(ratio "$old_nps" "$new_nps")
  best_ratio=$(ratio "$(best_nps "$work/old.$c")" "$(best_nps "$work/new.$c")")
  printf '%-10s %14s %14s %14s %8s %8s\n' "$c" "$old_counts" "$old_nps" "$new_nps" "$median_ratio" \
    "$best_ratio"
done
echo "medians of $runs runs each (best: fastest run of each); counts are bench signatures and"
echo "perft nodes, equal in both"
