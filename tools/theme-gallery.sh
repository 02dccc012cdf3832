#!/usr/bin/env bash
# Draws contact sheets of theme packages: every class, part and state as the
# skin engine draws it, with the theme's system colours, as PNG files in
# build/gallery/.
#   bash tools/theme-gallery.sh                    Tavmio's vista.cjstyles and
#                                                  Wine's light.msstyles (Blue.ini)
#   bash tools/theme-gallery.sh PACKAGE [INI]      one package (module or folder)
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="$ROOT/build/x86_64"
JOBS="${TAVMIO_JOBS:-2}"
OUT="$ROOT/build/gallery"
LIGHT=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/light.msstyles

bash "$ROOT/tools/setup.sh"
if [ ! -f "$BUILD/CMakeCache.txt" ]; then
  cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTAVMIO_TESTS=ON \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-x86_64.cmake"
fi
cmake --build "$BUILD" -j "$JOBS" --target theme_gallery vista_theme

# Z: is the Unix root in Wine.
winpath() { printf 'Z:%s' "$(readlink -f "$1")" | tr / '\\'; }

export TAVMIO_WINEPREFIX="$BUILD/wineprefix"
mkdir -p "$OUT"
gallery() {
  local package=$1 ini=$2 name=$3
  "$ROOT/tools/wine-run" "$BUILD/bench/theme-draw/theme_gallery.exe" \
    "$(winpath "$package")" "$ini" "$(winpath "$OUT")\\$name.png"
}

if [ $# -ge 1 ]; then
  gallery "$1" "${2:--}" "$(basename "$1")"
else
  gallery "$BUILD/app/vista.cjstyles" - vista.cjstyles
  gallery "$LIGHT" Blue.ini light.msstyles
fi
