#!/usr/bin/env bash
# Builds the fuzz targets with clang's libFuzzer under AddressSanitizer and
# UndefinedBehaviorSanitizer, then fuzzes each in turn, one job, starting from
# its committed seed corpus, and prints the executions and findings of each.
#
#   scripts/fuzz.sh [SECONDS [TARGET...]]   default 300 seconds per target,
#                                           every target
#
# Targets: colormap_open, dfpal_import, opt_reader, cli_arguments,
# recovery_journal, palette_formats. A finding (crash, leak, timeout, out of
# memory, a single allocation over 64 MB) stops its target and is written to
# build-fuzz/findings/<target>/; the corpus each target grows is kept in
# build-fuzz/corpus/<target>/. The status is 1 when anything was found.
set -euo pipefail

cd "$(dirname "$0")/.."
seconds="${1:-300}"
shift || true
targets=("$@")
[ "${#targets[@]}" -gt 0 ] ||
  targets=(colormap_open dfpal_import opt_reader cli_arguments recovery_journal palette_formats)

scripts/install-missing.sh clang libclang-rt-dev cmake ninja-build

CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DPALVANE_FUZZ=ON -DPALVANE_SANITIZE=ON -DPALVANE_BUILD_TESTS=OFF \
  -DPALVANE_BUILD_BENCHMARKS=OFF -DPALVANE_BUILD_GUI=OFF >/dev/null
cmake --build build-fuzz -j 2 --target "${targets[@]/%/_fuzzer}"

summary=()
status=0
for target in "${targets[@]}"; do
  corpus="build-fuzz/corpus/$target"
  findings="build-fuzz/findings/$target"
  log="build-fuzz/$target.log"
  mkdir -p "$corpus" "$findings"
  touch "build-fuzz/$target.started" # earlier findings stay, uncounted
  # The colormap loader and the palette import read nothing past the first
  # 832 and 768 bytes, so longer inputs would only cost time; their few
  # branches are all found within seconds, so weighing inputs by rare
  # coverage (libFuzzer's entropic schedule) would too.
  case "$target" in
    colormap_open | dfpal_import) tuning=(-max_len=1024 -entropic=0) ;;
    *) tuning=() ;;
  esac
  echo "== $target: $seconds seconds"
  # A small quarantine keeps freed memory warm: the model reader builds
  # thousands of records per input, and a cold quarantine triples its time.
  ASAN_OPTIONS=detect_leaks=1:quarantine_size_mb=16 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "build-fuzz/fuzz/${target}_fuzzer" -max_total_time="$seconds" -timeout=10 \
    "${tuning[@]}" -malloc_limit_mb=64 -print_final_stats=1 -artifact_prefix="$findings/" \
    "$corpus" "fuzz/corpus/$target" >"$log" 2>&1 || true
  runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)"
  found="$(find "$findings" -type f -newer "build-fuzz/$target.started" | wc -l)"
  [ "$found" -eq 0 ] || status=1
  summary+=("$(printf '%-14s %12s executions  %s findings' "$target" "${runs:-?}" "$found")")
  tail -n 12 "$log"
done
echo
printf '%s\n' "${summary[@]}"
[ "$status" -eq 0 ] || echo "Findings are in build-fuzz/findings/; logs in build-fuzz/*.log."
exit "$status"
