#!/usr/bin/env bash
# Takes the README's screenshots: the real window under Xvfb with a window manager, a crawl
# of the sample site served on loopback, the small dialogs and the start page, saved as
# PNG files in docs/screenshots/.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh dev --target screenshot_tour vendil_runtime_files >/dev/null
out=$PWD/docs/screenshots
mkdir -p "$out"

site_log=$(mktemp)
python3 -u -m http.server 0 --bind 127.0.0.1 --directory data/sample-site >"$site_log" 2>&1 &
site=$!
trap 'kill $site 2>/dev/null || true; rm -f "$site_log"' EXIT
for _ in $(seq 50); do
  port=$(sed -n 's/.*port \([0-9]*\).*/\1/p' "$site_log" | head -1)
  [ -n "$port" ] && break
  sleep 0.1
done
[ -n "${port:-}" ] || { echo "screenshots: the sample site did not start" >&2; exit 1; }
# A loopback port nobody listens on, for the picture of a start page that cannot be read.
dead=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')

xvfb-run -a -s "-screen 0 1280x640x24 -dpi 96" bash -c '
  openbox >/dev/null 2>&1 &
  sleep 1
  QT_QPA_PLATFORM=xcb build/dev/bin/screenshot_tour "$0" "$1" "$2"
' "http://127.0.0.1:$port/index.html" "$out" "http://127.0.0.1:$dead/index.html"
