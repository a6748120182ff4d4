#!/usr/bin/env bash
# Builds the model reader's fuzz target with clang's libFuzzer under
# AddressSanitizer and UndefinedBehaviorSanitizer, then fuzzes it, one job,
# starting from the generated seed corpus.
#
#   scripts/fuzz.sh [SECONDS]    default 300
#
# Findings are written to build-fuzz/ as crash-*, timeout-* or oom-* files.
set -euo pipefail

cd "$(dirname "$0")/.."
seconds="${1:-300}"

packages=(clang libclang-rt-dev cmake ninja-build)
scripts/install-missing.sh "${packages[@]}"

CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DPALVANE_FUZZ=ON -DPALVANE_SANITIZE=ON -DPALVANE_BUILD_TESTS=OFF \
  -DPALVANE_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build-fuzz -j 2 --target opt_reader_fuzzer palvane_opt_seeds

mkdir -p build-fuzz/corpus
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  build-fuzz/fuzz/opt_reader_fuzzer -max_total_time="$seconds" -timeout=10 \
  -print_final_stats=1 -artifact_prefix=build-fuzz/ build-fuzz/corpus build-fuzz/fuzz/seeds
