#!/usr/bin/env bash
# Regenerates the fuzz targets' seed corpora under fuzz/corpus/ with the
# program's own writers and the test builders. Regression inputs kept next to
# the seeds are left alone.
#
#   scripts/make-fuzz-seeds.sh
set -euo pipefail

cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j 2 --target make-fuzz-seeds
build/fuzz/make-fuzz-seeds fuzz/corpus
