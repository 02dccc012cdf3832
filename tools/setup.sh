#!/usr/bin/env bash
# Installs everything the build and the tests need on a Debian 12 machine and
# builds the static libpng for both Windows targets into .deps/.
# Idempotent: when all is present it checks and returns in well under a second.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
DEPS="$ROOT/.deps"
TRIPLES=(x86_64-w64-mingw32 i686-w64-mingw32)

PACKAGES=(
  g++-mingw-w64-x86-64-win32 g++-mingw-w64-i686-win32 libz-mingw-w64-dev
  wine wine64 fonts-wine xvfb xauth x11-utils xdotool imagemagick
  googletest cmake ninja-build make dpkg-dev xz-utils
  nginx-light iproute2 curl python3
)

SUDO=()
if [ "$(id -u)" != 0 ]; then SUDO=(sudo); fi
export DEBIAN_FRONTEND=noninteractive

say() { echo "setup: $*"; }

apt_updated=0
apt_update() {
  if [ "$apt_updated" = 0 ]; then
    say "apt-get update"
    "${SUDO[@]}" apt-get update -qq
    apt_updated=1
  fi
}

# --- Debian packages --------------------------------------------------------
installed() { dpkg-query -W -f='${db:Status-Abbrev}\n' "$@" 2>/dev/null | grep -c '^ii' || true; }
if [ "$(installed "${PACKAGES[@]}")" != "${#PACKAGES[@]}" ]; then
  missing=()
  for p in "${PACKAGES[@]}"; do
    [ "$(installed "$p")" = 1 ] || missing+=("$p")
  done
  apt_update
  say "installing ${missing[*]}"
  "${SUDO[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null
fi

# --- libpng, static, per target ---------------------------------------------
png_installed() { [ -f "$DEPS/$1/lib/libpng.a" ] && [ -f "$DEPS/$1/include/png.h" ]; }

need_png=0
for t in "${TRIPLES[@]}"; do png_installed "$t" || need_png=1; done
[ "$need_png" = 0 ] && exit 0

# Adds deb-src twins of the machine's enabled Debian entries when there are none,
# so that `apt-get source` works. They are derived from the entries the machine
# already has (those of its own Debian release); nothing is hard-coded.
ensure_deb_src() {
  local codename dir=/etc/apt/sources.list.d f
  if grep -Eqs '^[[:space:]]*(deb-src[[:space:]]|Types:.*deb-src)' \
      /etc/apt/sources.list "$dir"/*.list "$dir"/*.sources; then
    return
  fi
  codename="$(. /etc/os-release && echo "${VERSION_CODENAME:-}")"
  say "adding deb-src entries beside the deb entries of $codename"
  for f in "$dir"/*.sources; do
    [ -f "$f" ] || continue
    awk -v rel="$codename" '
      function flush() { if (buf != "" && keep && deb) printf "%s\n", buf; buf = ""; keep = 0; deb = 0 }
      /^[[:space:]]*$/ { flush(); next }
      /^[[:space:]]*#/ { next }
      /^Types:/ { if ($0 ~ /[[:space:]]deb([[:space:]]|$)/) deb = 1; buf = buf "Types: deb-src\n"; next }
      /^Suites:/ { if (rel == "" || index($0, rel)) keep = 1 }
      { buf = buf $0 "\n" }
      END { flush() }' "$f"
  done | "${SUDO[@]}" tee "$dir/tavmio-deb-src.sources" >/dev/null
  for f in /etc/apt/sources.list "$dir"/*.list; do
    [ -f "$f" ] || continue
    awk -v rel="$codename" '$1 == "deb" && (rel == "" || index($0, rel)) { sub(/^deb/, "deb-src"); print }' "$f"
  done | "${SUDO[@]}" tee "$dir/tavmio-deb-src.list" >/dev/null
  apt_updated=0
}

src_dir() { find "$DEPS/src" -maxdepth 1 -type d -name 'libpng1.6-*' 2>/dev/null | sort | tail -n 1; }

mkdir -p "$DEPS/src"
if [ -z "$(src_dir)" ]; then
  ensure_deb_src
  apt-cache showsrc libpng1.6 >/dev/null 2>&1 || apt_update
  say "fetching the libpng1.6 source package"
  sandbox=()
  [ "$(id -u)" = 0 ] && sandbox=(-o APT::Sandbox::User=root)
  # Newest version first; an archive that lists a version may not serve its
  # source files, so older listed versions are tried as well.
  fetched=0
  for v in $(apt-cache showsrc libpng1.6 | awk '/^Version:/ { print $2 }' | sort -rV); do
    if (cd "$DEPS/src" && apt-get source "${sandbox[@]}" "libpng1.6=$v") >"$DEPS/src/fetch.log" 2>&1; then
      fetched=1
      break
    fi
  done
  if [ "$fetched" = 0 ]; then
    cat "$DEPS/src/fetch.log" >&2
    exit 1
  fi
fi
SRC="$(src_dir)"
[ -n "$SRC" ] || { echo "setup: libpng source not found under $DEPS/src" >&2; exit 1; }

PNG_SOURCES=(png pngerror pngget pngmem pngpread pngread pngrio pngrtran pngrutil
             pngset pngtrans pngwio pngwrite pngwtran pngwutil)

build_png() {
  local t=$1 out="$DEPS/$1" obj="$DEPS/build/$1"
  say "building libpng for $t"
  rm -rf "$obj"; mkdir -p "$obj" "$out/include" "$out/lib"
  # The prebuilt configuration keeps libpng's defaults: all read/write
  # transformations and setjmp-based error handling.
  cp "$SRC/scripts/pnglibconf.h.prebuilt" "$obj/pnglibconf.h"
  printf '%s\n' "${PNG_SOURCES[@]}" | xargs -P "$(nproc)" -I{} \
    "$t-gcc-win32" -O2 -DNDEBUG -I"$obj" -I"$SRC" -I"/usr/$t/include" \
      -c "$SRC/{}.c" -o "$obj/{}.o"
  local objs=("${PNG_SOURCES[@]/#/$obj/}")
  rm -f "$out/lib/libpng.a"
  "$t-ar" rcs "$out/lib/libpng.a" "${objs[@]/%/.o}"
  "$t-ranlib" "$out/lib/libpng.a"
  # Header install last: its presence marks a complete build.
  cp "$SRC/png.h" "$SRC/pngconf.h" "$obj/pnglibconf.h" "$out/include/"
}

for t in "${TRIPLES[@]}"; do
  png_installed "$t" || build_png "$t"
done
