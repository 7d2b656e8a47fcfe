#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer with AddressSanitizer and
# UndefinedBehaviorSanitizer) in build-fuzz and runs each one briefly on its
# committed seed corpus. Any crash, sanitizer report, leak or failed check
# fails the script; the input that caused it is kept in build-fuzz/artifacts.
#
#   tests/fuzz/run.sh                 every target, FUZZ_SECONDS (15) each
#   tests/fuzz/run.sh fen book        only these targets
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds="${FUZZ_SECONDS:-15}"
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then targets=(fen book move_text dispatcher uci); fi

if ! command -v clang++ >/dev/null || ! ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1; then
  echo "== installing clang and its fuzzer runtime"
  apt-get update -qq && apt-get install -y -qq clang libclang-rt-14-dev >/dev/null
fi

cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DMARLEK_FUZZ=ON >/dev/null
cmake --build build-fuzz -j2

mkdir -p build-fuzz/artifacts
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
for target in "${targets[@]}"; do
  echo "== fuzzing $target for $seconds s"
  # New inputs go to a scratch directory; the committed corpus is only read.
  mkdir -p "$scratch/$target"
  # A table of gigabytes asked for must come back refused, not end the run.
  ASAN_OPTIONS=allocator_may_return_null=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "build-fuzz/${target}_fuzz" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="build-fuzz/artifacts/$target-" "$scratch/$target" "tests/fuzz/corpus/$target" \
    2>"$scratch/$target.log" || { cat "$scratch/$target.log"; exit 1; }
  grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb)|^#[0-9]+[[:space:]]+DONE' "$scratch/$target.log"
done
