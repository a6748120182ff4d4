#!/usr/bin/env bash
# Makes the Debian package of the editor and palvane-cli from a release build
# (no tests, no benchmarks) and checks it with lintian.
#
#   scripts/package.sh       writes build-package/palvane_VERSION_ARCH.deb
#
# Install it with `sudo apt install ./build-package/palvane_*.deb`.
set -euo pipefail

cd "$(dirname "$0")/.."
scripts/install-missing.sh g++ cmake ninja-build qt6-base-dev help2man dpkg-dev lintian

jobs="$(nproc 2>/dev/null || echo 2)"
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DPALVANE_BUILD_TESTS=OFF \
  -DPALVANE_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build-package -j "$jobs"
(cd build-package && cpack -G DEB >/dev/null)
package="$(ls -t build-package/palvane_*.deb | head -n 1)"
lintian --fail-on error "$package"
echo "$package"
