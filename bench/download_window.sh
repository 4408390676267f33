#!/usr/bin/env bash
# The window's CPU while it downloads 200 files (1 MB each, sent at a pace that makes the
# download last about ten seconds): the real window under Xvfb with a window manager, a
# search and the download started from the toolbar with xdotool, the window process's CPU
# time read from /proc over ten seconds of the download. Screenshots of the list while it
# runs and when it is done go to OUT (default: the work folder, removed at the end).
#   bench/download_window.sh [OUT]
set -euo pipefail
cd "$(dirname "$0")/.."
for tool in xvfb-run xdotool openbox import aria2c bc; do
  command -v "$tool" >/dev/null || { echo "$tool is missing (./scripts/deps.sh)" >&2; exit 1; }
done
./scripts/build.sh dev --target vendil vendil_runtime_files >/dev/null
work=$(mktemp -d)
out=${1:-$work}
server_pid=""
# The window's settings file lives beside the program: keep the user's and put it back.
ini=$PWD/build/dev/bin/vendil.ini
[ -f "$ini" ] && cp "$ini" "$work/vendil.ini.kept"
cleanup() {
  if [ -n "$server_pid" ]; then kill "$server_pid" 2>/dev/null || true; fi
  if [ -f "$work/vendil.ini.kept" ]; then cp "$work/vendil.ini.kept" "$ini"; else rm -f "$ini"; fi
  rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$work/site"
{
  echo "<html><body>"
  for i in $(seq -w 1 200); do
    head -c 1048576 /dev/urandom >"$work/site/file$i.bin"
    echo "<a href=\"file$i.bin\">file $i</a>"
  done
  echo "</body></html>"
} >"$work/site/index.html"
python3 bench/paced_server.py "$work/site" 30 "$work/port" &
server_pid=$!
for _ in $(seq 100); do [ -f "$work/port" ] && break; sleep 0.05; done
url="http://127.0.0.1:$(cat "$work/port")/index.html"
printf '[General]\r\nUrl=%s\r\nMask=*.bin\r\nFolder=%s\r\nDepth=0\r\n[Window]\r\nLeft=0\r\nTop=0\r\nWidth=18900\r\nHeight=9300\r\n[AdWindow]\r\nLeft=19500\r\nTop=0\r\nWidth=3000\r\nHeight=3000\r\n' \
  "$url" "$work/save" >"$ini"

xvfb-run -a -s "-screen 0 1280x640x24 -dpi 96" bash -c '
  set -u
  out=$0 save=$1
  openbox >/dev/null 2>&1 &
  sleep 1
  QT_QPA_PLATFORM=xcb build/dev/bin/vendil >/dev/null 2>&1 &
  vp=$!
  for _ in $(seq 100); do xdotool search --pid $vp --name "^Vendil\$" >/dev/null 2>&1 && break; sleep 0.1; done
  wid=$(xdotool search --pid $vp --name "^Vendil\$" | head -1)
  xdotool windowactivate --sync "$wid"
  sleep 0.5
  # The toolbar: Start is the first key, the download key the last one.
  xdotool mousemove 28 61 click 1
  for _ in $(seq 100); do xdotool search --pid $vp --name "^Vendil\$" | grep -vx "$wid" >/dev/null && break; sleep 0.1; done
  xdotool key Return
  sleep 0.5
  xdotool windowactivate --sync "$wid"
  xdotool mousemove 392 61 click 1
  sleep 1
  t0=$(date +%s.%N); c0=$(awk "{print \$14+\$15}" /proc/$vp/stat)
  sleep 10
  t1=$(date +%s.%N); c1=$(awk "{print \$14+\$15}" /proc/$vp/stat)
  xdotool mousemove 600 300 click 1; xdotool key Page_Down Page_Down Page_Down
  sleep 0.5
  import -window root "$out/download-running.png"
  echo "window CPU while 200 rows download: $(echo "scale=2; ($c1 - $c0) * 100 / $(getconf CLK_TCK) / ($t1 - $t0)" | bc -l) % of one core (target <= 10)"
  for _ in $(seq 120); do
    [ "$(ls "$save" | grep -c "bin\$")" -eq 200 ] && ! ls "$save" | grep -q aria2 && break
    sleep 0.5
  done
  sleep 1
  import -window root "$out/download-done.png"
  echo "files saved: $(ls "$save" | grep -c "bin\$")"
  xdotool windowactivate --sync "$wid"; xdotool key alt+F4
  sleep 1
  kill $vp 2>/dev/null || true
' "$out" "$work/save"
