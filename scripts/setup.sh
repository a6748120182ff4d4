#!/usr/bin/env bash
# Installs what is missing, builds, and then either starts the program on the
# bundled sample colormap (run) or runs every test (test).
#
#   scripts/setup.sh run     build the editor and palvane-cli (nothing else),
#                            then open samples/sample.cmp
#   scripts/setup.sh test    build everything, then run all tests: a normal
#                            build and one with AddressSanitizer and
#                            UndefinedBehaviorSanitizer
#
# Environment: PALVANE_WERROR=ON turns compiler warnings into errors.
set -euo pipefail

cd "$(dirname "$0")/.."
mode="${1:-}"
case "$mode" in
  run | test) ;;
  *) echo "usage: scripts/setup.sh run|test" >&2; exit 2 ;;
esac

# Qt 6 for the editor; libpng for palvane-cli's pictures; help2man writes
# the manual pages from the programs' help; poppler-utils reads printed pages
# back in the tests; a font, so that offscreen rendering draws text; the
# desktop's file type database and desktop entry tools, which the editor's
# registration runs and its tests check.
scripts/install-missing.sh g++ cmake ninja-build libgtest-dev libbenchmark-dev qt6-base-dev \
  libpng-dev help2man poppler-utils fonts-dejavu-core shared-mime-info desktop-file-utils
# The tests check the installed tree and the package with the tools that
# read them: the AppStream validator, man, and the Debian package tools
# with lintian.
if [ "$mode" = test ]; then
  scripts/install-missing.sh appstream man-db dpkg-dev lintian
fi

jobs="$(nproc 2>/dev/null || echo 2)"
werror="${PALVANE_WERROR:-OFF}"

configure() { # folder, extra cmake arguments...
  local folder="$1"
  shift
  cmake -S . -B "$folder" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DPALVANE_WERROR="$werror" "$@" >/dev/null
}

build() { # folder, extra cmake arguments...
  configure "$@"
  cmake --build "$1" -j "$jobs"
}

if [ "$mode" = run ]; then
  # Only the two programs: the tests and benchmarks wait for `test`.
  configure build
  cmake --build build -j "$jobs" --target palvane palvane-cli
  if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec ./build/app/palvane samples/sample.cmp
  fi
  # No display (a server, a container, CI): show the editor's window as a
  # picture drawn offscreen, and what the batch front end sees in the file.
  picture="$PWD/build/palvane-window.png"
  echo "No display: rendering the editor's main window offscreen instead."
  QT_QPA_PLATFORM=offscreen ./build/app/palvane --render "$picture" samples/sample.cmp \
    2>/dev/null
  echo "The main window with samples/sample.cmp open: $picture"
  ./build/cli/palvane-cli --open samples/sample.cmp --select 32:47 --dump
  exit 0
fi

build build
ctest --test-dir build --output-on-failure -j "$jobs"

build build-sanitize -DPALVANE_SANITIZE=ON -DPALVANE_BUILD_BENCHMARKS=OFF
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-sanitize --output-on-failure -j "$jobs"
