# shellcheck shell=bash
# Wine environment for running Tavmio and its tests; sourced by tools/*.sh and
# tools/wine-run.
#
# The Wine prefix belongs to the build tree (build/x86_64/wineprefix unless
# TAVMIO_WINEPREFIX names another), never ~/.wine. Only the 64-bit loader is
# used: 32-bit Windows code cannot run on the build machines.
#
# Functions:
#   tav_wine_prefix     create the prefix if it is missing
#   tav_start_display   start Xvfb on a free display and export DISPLAY, unless
#                       TAVMIO_USE_DISPLAY=1 and DISPLAY is already set
#   tav_start_wineserver  start one persistent wineserver for this run
#   tav_wine_warmup     start Wine's background processes, detached
#   tav_wine_managed Y|N  let the window manager manage Wine's windows or not
#   tav_wine_session    display, prefix (unmanaged windows on Xvfb) and server,
#                       plus a cleanup trap on EXIT
#   tav_wine_stop       stop the wineserver and the Xvfb this shell started

TAVMIO_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="${TAVMIO_WINEPREFIX:-$TAVMIO_ROOT/build/x86_64/wineprefix}"
export WINELOADER=/usr/lib/wine/wine64
export WINESERVER=/usr/lib/wine/wineserver64
export WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono/Gecko install prompts; no menu entries or file associations written
# into the user's home.
export WINEDLLOVERRIDES="mscoree,mshtml=d;winemenubuilder.exe=d"
# Wine takes the Windows locale and ANSI code page from the Unix locale; the
# same everywhere: en-US, code page 1252.
export LC_ALL="${TAVMIO_LOCALE:-C.UTF-8}"

TAV_XVFB_PID=""
TAV_WINESERVER_STARTED=""

tav_log() { echo "wine-env: $*" >&2; }

# Bump when the settings below change: existing prefixes get them on next use.
TAV_PREFIX_VERSION=3

tav_wine_prefix() {
  [ "$(cat "$WINEPREFIX/.tavmio-ready" 2>/dev/null)" = "$TAV_PREFIX_VERSION" ] && return 0
  mkdir -p "$(dirname "$WINEPREFIX")"
  # Several wine-run calls may race to set up the prefix: one does it.
  (
    flock 9
    [ "$(cat "$WINEPREFIX/.tavmio-ready" 2>/dev/null)" = "$TAV_PREFIX_VERSION" ] && exit 0
    local start=$SECONDS d
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      tav_log "creating Wine prefix $WINEPREFIX"
      # wineboot shows a progress window when it has a display; without one
      # it works the same.
      "$WINELOADER" wineboot.exe -i </dev/null >/dev/null 2>&1 || true
      # Keep the user's home out of the prefix: the shell folders (Desktop,
      # Documents, ...) are links to $HOME in a new prefix.
      for d in "$WINEPREFIX"/drive_c/users/*/*; do
        if [ -L "$d" ]; then rm -f "$d" && mkdir -p "$d"; fi
      done
    fi
    # Wine draws every window frame itself, also under a window manager.
    "$WINELOADER" reg.exe add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f </dev/null >/dev/null 2>&1
    # A crashing program prints its backtrace and ends, instead of waiting
    # for someone to close Wine's crash dialog.
    "$WINELOADER" reg.exe add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f </dev/null >/dev/null 2>&1
    # Wine's own theme, light.msstyles in its Blue colours, is the active
    # visual style (as in a new prefix, here made sure of): the theme drawing
    # tests compare the skin engine with the system drawing that theme.
    local tm='HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager'
    "$WINELOADER" reg.exe add "$tm" /v ThemeActive /d 1 /f </dev/null >/dev/null 2>&1
    "$WINELOADER" reg.exe add "$tm" /v DllName /d 'C:\windows\resources\themes\light\light.msstyles' /f </dev/null >/dev/null 2>&1
    "$WINELOADER" reg.exe add "$tm" /v ColorName /d Blue /f </dev/null >/dev/null 2>&1
    "$WINELOADER" reg.exe add "$tm" /v SizeName /d NormalSize /f </dev/null >/dev/null 2>&1
    # The registry reaches the disk when the server exits (a server kept alive
    # by another session writes it later).
    timeout 60 "$WINESERVER" -w || true
    [ -f "$WINEPREFIX/system.reg" ] || { tav_log "wineboot failed"; exit 1; }
    echo "$TAV_PREFIX_VERSION" >"$WINEPREFIX/.tavmio-ready"
    tav_log "prefix ready in $((SECONDS - start)) s"
  ) 9>"$WINEPREFIX.lock"
}

# Wine waits up to 2 s for a window manager to confirm every hide or destroy of
# a managed top-level window. Xvfb has no window manager, so there the windows
# are unmanaged; on a real display they are managed as usual.
tav_wine_managed() {
  local want=$1 have=Y
  if awk '/^\[/ { in_x11 = ($0 ~ /^\[Software\\\\Wine\\\\X11 Driver\]/) }
          in_x11 && /^"Managed"="N"/ { found = 1 }
          END { exit !found }' "$WINEPREFIX/user.reg" 2>/dev/null; then
    have=N
  fi
  [ "$want" = "$have" ] && return 0
  # Retried, and never fatal: on a machine under load the first Wine process
  # after the server's start can fail; the tests then only run slower.
  local try
  for try in 1 2 3; do
    if [ "$want" = N ]; then
      "$WINELOADER" reg.exe add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1 && return 0
    else
      "$WINELOADER" reg.exe delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f </dev/null >/dev/null 2>&1 && return 0
    fi
    sleep 1
  done
  tav_log "could not set Managed=$want in the prefix; windows may close slowly"
  return 0
}

tav_start_display() {
  if [ "${TAVMIO_USE_DISPLAY:-0}" = 1 ] && [ -n "${DISPLAY:-}" ]; then
    return 0
  fi
  local out log
  out="$(mktemp)"
  log="${TAVMIO_XVFB_LOG:-/dev/null}"
  # -displayfd: Xvfb picks a free display number itself and writes it out
  # once it accepts connections.
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$out" >"$log" 2>&1 &
  TAV_XVFB_PID=$!
  local i
  for i in $(seq 200); do
    if grep -q '^[0-9][0-9]*$' "$out" 2>/dev/null; then break; fi
    if ! kill -0 "$TAV_XVFB_PID" 2>/dev/null; then break; fi
    sleep 0.05
  done
  if ! grep -q '^[0-9][0-9]*$' "$out"; then
    rm -f "$out"
    tav_log "Xvfb did not start"
    return 1
  fi
  export DISPLAY=":$(head -n 1 "$out")"
  rm -f "$out"
}

tav_start_wineserver() {
  # A server left behind by a session that was killed outright (its owner
  # process is gone) is stopped first.
  local owner
  owner="$(cat "$WINEPREFIX.session" 2>/dev/null || true)"
  if [ -n "$owner" ] && ! kill -0 "$owner" 2>/dev/null; then
    "$WINESERVER" -k >/dev/null 2>&1 || true
    timeout 10 "$WINESERVER" -w >/dev/null 2>&1 || true
    rm -f "$WINEPREFIX.session"
  fi
  # -p: stay alive between processes, so each test does not pay the server's
  # start-up; a server already running for this prefix is used as it is.
  if "$WINESERVER" -p 2>/dev/null; then
    TAV_WINESERVER_STARTED=1
    echo $$ >"$WINEPREFIX.session"
  fi
}

tav_wine_warmup() {
  # Start Wine's own background processes (services, device drivers, the
  # desktop window's explorer.exe) now, detached from every terminal and pipe.
  # Otherwise the first test starts them, they inherit its stderr and, living
  # as long as the persistent server, keep ctest waiting for that pipe to close
  # until the test times out.
  "$WINELOADER" rundll32.exe user32.dll,GetDesktopWindow </dev/null >/dev/null 2>&1 || true
}

tav_wine_stop() {
  if [ -n "$TAV_WINESERVER_STARTED" ]; then
    "$WINESERVER" -k >/dev/null 2>&1 || true
    "$WINESERVER" -w >/dev/null 2>&1 || true
    rm -f "$WINEPREFIX.session"
    TAV_WINESERVER_STARTED=""
  fi
  if [ -n "$TAV_XVFB_PID" ]; then
    kill "$TAV_XVFB_PID" 2>/dev/null || true
    wait "$TAV_XVFB_PID" 2>/dev/null || true
    TAV_XVFB_PID=""
  fi
}

tav_wine_session() {
  trap tav_wine_stop EXIT
  trap 'exit 130' INT TERM
  tav_start_display
  tav_wine_prefix
  tav_start_wineserver
  if [ -n "$TAV_XVFB_PID" ]; then tav_wine_managed N; else tav_wine_managed Y; fi
  tav_wine_warmup
}
