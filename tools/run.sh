#!/usr/bin/env bash
# Builds the 64-bit program and starts it under Wine.
# With DISPLAY set it runs on that display until you close it. Without one it
# runs on a virtual display, saves a screenshot of the main window to
# build/screenshots/main-window.png and closes the program again.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="$ROOT/build/x86_64"
JOBS="${TAVMIO_JOBS:-2}"
TITLE="Tavmio"

bash "$ROOT/tools/setup.sh"

# Ask CMake's file API where the target's executable lands.
mkdir -p "$BUILD/.cmake/api/v1/query"
touch "$BUILD/.cmake/api/v1/query/codemodel-v2"
if [ ! -f "$BUILD/CMakeCache.txt" ]; then
  cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTAVMIO_TESTS=ON \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-x86_64.cmake"
elif ! ls "$BUILD"/.cmake/api/v1/reply/index-*.json >/dev/null 2>&1; then
  cmake "$BUILD" >/dev/null
fi
cmake --build "$BUILD" -j "$JOBS" --target tavmio

EXE="$(python3 - "$BUILD" <<'EOF'
import glob, json, os, sys
reply = os.path.join(sys.argv[1], ".cmake", "api", "v1", "reply")
index = json.load(open(max(glob.glob(os.path.join(reply, "index-*.json")))))
model = next(o for o in index["objects"] if o["kind"] == "codemodel")
model = json.load(open(os.path.join(reply, model["jsonFile"])))
for ref in model["configurations"][0]["targets"]:
    if ref["name"] == "tavmio":
        target = json.load(open(os.path.join(reply, ref["jsonFile"])))
        path = target["artifacts"][0]["path"]
        print(path if os.path.isabs(path) else os.path.join(sys.argv[1], path))
        break
EOF
)"
if [ -z "$EXE" ] || [ ! -f "$EXE" ]; then
  echo "run: the build has no tavmio executable" >&2
  exit 1
fi

export TAVMIO_WINEPREFIX="$BUILD/wineprefix"
. "$ROOT/tools/wine-env.sh"

if [ -n "${DISPLAY:-}" ]; then
  tav_wine_prefix
  tav_wine_managed Y
  echo "run: starting $EXE on $DISPLAY"
  exec "$WINELOADER" "$EXE"
fi

export TAVMIO_XVFB_LOG="$BUILD/xvfb.log"
tav_wine_session
"$WINELOADER" "$EXE" &
APP_PID=$!

WID=""
for _ in $(seq 300); do
  WID="$(xdotool search --onlyvisible --name "^$TITLE\$" 2>/dev/null | head -n 1 || true)"
  [ -n "$WID" ] && break
  kill -0 "$APP_PID" 2>/dev/null || break
  sleep 0.1
done
if [ -z "$WID" ]; then
  echo "run: no window titled \"$TITLE\" appeared" >&2
  kill "$APP_PID" 2>/dev/null || true
  exit 1
fi

sleep 1  # let the first paint finish
SHOT="$ROOT/build/screenshots/main-window.png"
mkdir -p "$(dirname "$SHOT")"
import -window "$WID" "$SHOT"
echo "run: screenshot of the main window saved to ${SHOT#"$ROOT"/}"

# Ask the program to close (WM_CLOSE to its windows), as a user would.
"$WINELOADER" taskkill.exe /im "$(basename "$EXE")" >/dev/null 2>&1 || true
for _ in $(seq 100); do
  kill -0 "$APP_PID" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$APP_PID" 2>/dev/null; then
  echo "run: the program did not close; stopping it" >&2
  kill "$APP_PID" 2>/dev/null || true
fi
wait "$APP_PID" 2>/dev/null || true
