#!/usr/bin/env bash
# Builds both targets and runs the tests under Wine on a virtual display.
#   bash tools/test.sh [ctest arguments...]
# build/x86_64: 64-bit build with the tests, run by ctest.
# build/i686:   32-bit release build of the program (no tests: 32-bit Windows
#               code cannot run on the build machines); it must build cleanly.
# Exits with ctest's status.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
JOBS="${TAVMIO_JOBS:-2}"

bash "$ROOT/tools/setup.sh"

configure() {
  local dir=$1 arch=$2; shift 2
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S "$ROOT" -B "$dir" -G Ninja \
      -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-$arch.cmake" "$@"
  fi
}

configure "$ROOT/build/x86_64" x86_64 -DCMAKE_BUILD_TYPE=Debug -DTAVMIO_TESTS=ON
cmake --build "$ROOT/build/x86_64" -j "$JOBS"

configure "$ROOT/build/i686" i686 -DCMAKE_BUILD_TYPE=Release -DTAVMIO_TESTS=OFF
cmake --build "$ROOT/build/i686" -j "$JOBS"

TAVMIO_WINEPREFIX="$ROOT/build/x86_64/wineprefix"
export TAVMIO_XVFB_LOG="$ROOT/build/x86_64/xvfb.log"
. "$ROOT/tools/wine-env.sh"
tav_wine_session

status=0
(cd "$ROOT/build/x86_64" && ctest --output-on-failure "$@") || status=$?
exit "$status"
