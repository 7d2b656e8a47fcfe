#!/bin/sh
# compare_reference.sh [FAST_BUILD [REFERENCE_BUILD]]
# The search answers many moves without making them (src/search/shortcuts.h),
# and must compute the same tree as when it makes and searches every one.
# This configures REFERENCE_BUILD (default build-reference) with
# -DMARLEK_REFERENCE_SEARCH=ON, builds its bench, then runs that bench and
# FAST_BUILD's (default build, already built) at depths 1 to 5 and fails
# unless every position's line (node count and best move) and the signature
# are the same at every depth. A shortcut whose answer differs from the
# plain search's shows here as a different count or move.
#
# Environment: JOBS (build parallelism, default 2), DEPTHS (default "1 2 3 4 5").
set -eu
cd "$(dirname "$0")/.."
fast=${1:-build}
reference=${2:-build-reference}
jobs=${JOBS:-2}
depths=${DEPTHS:-1 2 3 4 5}

fail() {
  echo "compare_reference: $*" >&2
  exit 1
}

[ -x "$fast/bench" ] || fail "no $fast/bench: build the bench target there first"
cmake -S . -B "$reference" -DCMAKE_BUILD_TYPE=Release -DMARLEK_REFERENCE_SEARCH=ON \
  -DBUILD_TESTING=OFF >/dev/null || fail "configuring $reference failed"
cmake --build "$reference" -j "$jobs" --target bench >/dev/null || fail "building $reference failed"

work=$(mktemp -d "${TMPDIR:-/tmp}/compare_reference.XXXXXX")
trap 'rm -rf "$work"' EXIT

# computed BUILD DEPTH: what BUILD's bench computes at DEPTH, without the
# timings: the position lines whole and the signature line's signature.
computed() {
  "$1/bench" "$2" >"$work/raw" || fail "$1/bench $2 failed"
  sed -n -e '/^position /p' -e 's/^\(signature [0-9]*\) .*/\1/p' "$work/raw"
}

for depth in $depths; do
  computed "$fast" "$depth" >"$work/fast"
  computed "$reference" "$depth" >"$work/reference"
  [ "$(grep -c '^position ' "$work/fast")" -gt 0 ] && grep -q '^signature ' "$work/fast" ||
    fail "$fast/bench $depth printed no positions or no signature"
  if ! diff "$work/fast" "$work/reference" >"$work/diff"; then
    echo "depth $depth: the search with shortcuts (<) and the reference search (>) differ:"
    cat "$work/diff"
    exit 1
  fi
  echo "depth $depth: $(grep -c '^position ' "$work/fast") positions alike, $(grep '^signature ' "$work/fast")"
done
