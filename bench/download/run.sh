#!/usr/bin/env bash
# Download benchmark: the real program downloads a stream of each given size
# (MiB, default 64 and 256) from nginx on a loopback address, in a private
# network namespace where the video site's host resolves to it; curl fetches
# the same stream first. Prints the times and rates of curl, of the
# program's HTTP socket reading in 1 KiB and 64 KiB chunks, and of the whole
# download in the program, with the program's working set.
#   bash bench/download/run.sh [MiB...]
# Uses the build tree build/x86_64 (or TAVMIO_BENCH_BUILD), building the
# program and download_bench in it.
set -euo pipefail

ROOT="$(cd "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/../.." && pwd)"

if [ "${1:-}" = --inside ]; then
  # In the namespace: $2 the work folder, $3 the build tree, then the sizes.
  work=$2 build=$3
  shift 3
  nginx -p "$work" -c "$work/nginx.conf" -e "$work/error.log"
  trap 'kill -QUIT "$(cat "$work/nginx.pid")" 2>/dev/null || true' EXIT
  . "$ROOT/tools/wine-env.sh"
  tav_start_display
  tav_start_wineserver
  tav_wine_managed N
  winpath() { echo "Z:${1//\//\\}"; }
  status=0
  for mib in "$@"; do
    bytes=$((mib * 1024 * 1024))
    # curl first, into the same folder the program writes to.
    curl_seconds="$(curl -sS -o "$work/out/curl.bin" -w '%{time_total}' "http://127.0.0.1/stream-$mib.bin")"
    rm -f "$work/out/curl.bin"
    "$WINELOADER" "$build/bench/download/download_bench.exe" "$(winpath "$build/app/tavmio.exe")" \
      "http://www.youtube.com/watch/$mib" "http://127.0.0.1/stream-$mib.bin" "$(winpath "$work/out")" \
      "$bytes" "$curl_seconds" | tr -d '\r' || status=$?
    echo
  done
  tav_wine_stop
  exit "$status"
fi

sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(64 256)
build="${TAVMIO_BENCH_BUILD:-$ROOT/build/x86_64}"

bash "$ROOT/tools/setup.sh"
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$ROOT" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Debug -DTAVMIO_TESTS=ON
fi
cmake --build "$build" -j "${TAVMIO_JOBS:-2}" --target tavmio download_bench >/dev/null
command -v nginx >/dev/null || { echo "nginx is missing (tools/setup.sh installs nginx-light)" >&2; exit 1; }

work="$(mktemp -d "${TMPDIR:-/tmp}/tavmio-bench.XXXXXX")"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/html/watch" "$work/out" "$work/tmp"
for mib in "${sizes[@]}"; do
  # The video page with its player line, and the stream.
  printf '<html><script>var fullscreenUrl = %s;</script></html>\n' \
    "'/watch_fullscreen?fs=1&video_id=$mib&l=60&t=T$mib&hl=en&title=Bench $mib'" >"$work/html/watch/$mib"
  head -c "$((mib * 1024 * 1024))" /dev/urandom >"$work/html/stream-$mib.bin"
done
user=""
[ "$(id -u)" = 0 ] && user="user root;"
cat >"$work/nginx.conf" <<EOF
$user
worker_processes 1;
daemon on;
pid $work/nginx.pid;
error_log $work/error.log warn;
events { worker_connections 64; }
http {
  access_log off;
  client_body_temp_path $work/tmp;
  proxy_temp_path $work/tmp;
  fastcgi_temp_path $work/tmp;
  uwsgi_temp_path $work/tmp;
  scgi_temp_path $work/tmp;
  default_type application/octet-stream;
  sendfile on;
  server {
    listen 127.0.0.1:80;
    root $work/html;
    # The stream endpoint sends the player to the stream itself.
    location = /get_video { return 302 http://127.0.0.1/stream-\$arg_video_id.bin; }
  }
}
EOF

bash "$ROOT/tests/support/netns-run" --host www.youtube.com -- \
  bash "$ROOT/bench/download/run.sh" --inside "$work" "$build" "${sizes[@]}"
