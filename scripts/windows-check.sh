#!/usr/bin/env bash
# Cross-builds the core, palvane-cli and the core tests for 64-bit Windows
# with mingw-w64, runs the tests under Wine, and checks that palvane-cli.exe
# writes the same bytes as the Linux build. Installs what is missing first.
#
#   scripts/windows-check.sh
#
# Environment: PALVANE_WERROR=ON turns compiler warnings into errors.
# The Windows programs end up in build-windows/ (cli/palvane-cli.exe).
set -euo pipefail

cd "$(dirname "$0")/.."
root="$(pwd)"

fail() {
  echo "windows-check: FAILED: $*" >&2
  exit 1
}

scripts/install-missing.sh g++-mingw-w64-x86-64-posix wine64 cmake ninja-build libgtest-dev g++

wine=""
for candidate in wine64 /usr/lib/wine/wine64 wine; do
  if command -v "$candidate" >/dev/null; then
    wine="$(command -v "$candidate")"
    break
  fi
done
[ -n "$wine" ] || fail "no wine64 found after installing it"

werror="${PALVANE_WERROR:-OFF}"
jobs="$(nproc 2>/dev/null || echo 2)"

echo "== cross build (mingw-w64)"
# -O2 as in the Linux build: at -O3 GCC 12 warns falsely about string copies.
cmake -S . -B build-windows -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchains/mingw-w64.cmake" \
  -DPALVANE_WERROR="$werror" -DPALVANE_BUILD_GUI=OFF -DPALVANE_BUILD_BENCHMARKS=OFF \
  >/dev/null || fail "configuring the cross build"
cmake --build build-windows -j "$jobs" || fail "the cross build"

# Wine keeps its own Windows installation; one of our own keeps the run
# independent of the user's and quiet.
export WINEPREFIX="$root/build-windows/wine-prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# Wine reads the command line's bytes in the locale's encoding: UTF-8 keeps
# non-ASCII file names intact on their way to the wide-character API.
export LC_ALL=C.UTF-8
"$wine" wineboot --init >/dev/null 2>&1 || fail "starting Wine (wineboot)"

echo "== core tests under Wine"
ctest --test-dir build-windows --output-on-failure -j "$jobs" ||
  fail "tests under Wine (see the output above)"

echo "== palvane-cli round trip: Windows against Linux"
if [ ! -f build/CMakeCache.txt ]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPALVANE_WERROR="$werror" \
    >/dev/null
fi
cmake --build build -j "$jobs" --target palvane-cli >/dev/null ||
  fail "building the Linux palvane-cli to compare with"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp samples/sample.cmp "$work/sample.cmp"
(
  cd "$work"
  for variant in plain transparency; do
    flag="--no-transparency"
    [ "$variant" = transparency ] && flag="--transparency"
    "$root/build/cli/palvane-cli" --open sample.cmp --select 32:63 $flag \
      --save "linux-$variant.cmp" >/dev/null
    # The Windows side writes under a non-ASCII name, through the wide API.
    windows="windows-éΩ-$variant.cmp"
    "$wine" "$root/build-windows/cli/palvane-cli.exe" --open sample.cmp --select 32:63 $flag \
      --save "$windows" >/dev/null ||
      fail "palvane-cli.exe could not open and save ($variant)"
    [ -f "$windows" ] || fail "palvane-cli.exe did not write $windows"
    cmp "linux-$variant.cmp" "$windows" ||
      fail "the Windows build wrote other bytes than the Linux build ($variant)"
    # Each build reads the other's file back to the same palette.
    linux_dump="$("$root/build/cli/palvane-cli" --open "$windows" --dump)"
    windows_dump="$("$wine" "$root/build-windows/cli/palvane-cli.exe" \
      --open "linux-$variant.cmp" --dump | tr -d '\r')"
    [ "${linux_dump%%,\"title\"*}" = "${windows_dump%%,\"title\"*}" ] ||
      fail "palvane-cli.exe read back another palette ($variant)"
    echo "  $variant: $(wc -c <"$windows") bytes, identical"
  done
)
echo "windows-check: ok"
