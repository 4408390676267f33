#!/usr/bin/env bash
# Peak memory of a vendil-cli search of link bombs served on loopback: a gzip response of
# about half a megabyte that inflates to 260 MiB of "<a href=1>" (one link, 27 million
# tags), and the same tags left open before one closing "</a>" at the end. Prints each
# run's peak resident memory beside the inflated page size, the rows kept and the time.
#   bench/link_bomb.sh [MIB] [path/to/vendil-cli]   (default 260 MiB; without a path the
#   Release vendil-cli of build/bench is built)
set -euo pipefail
cd "$(dirname "$0")/.."
mib=${1:-260}
if [ $# -ge 2 ]; then VENDIL_CLI=$2; fi
# shellcheck source=crawl_common.sh
. bench/crawl_common.sh

python3 - "$work" "$mib" <<'PY'
import gzip, os, sys
work, mib = sys.argv[1], int(sys.argv[2])
tag = b"<a href=1>"
count = mib * 1024 * 1024 // len(tag)
for name, tail in (("repeat", b""), ("open", b"</a>")):
    with gzip.open(os.path.join(work, name + ".gz"), "wb", compresslevel=9) as f:
        block = tag * 100000
        for _ in range(count // 100000):
            f.write(block)
        f.write(tag * (count % 100000) + tail)
PY

port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
python3 - "$work" "$port" <<'PY' &
import http.server, os, sys
work, port = sys.argv[1], int(sys.argv[2])
class Bomb(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        path = os.path.join(work, self.path.strip("/").split(".")[0] + ".gz")
        if not os.path.isfile(path):
            self.send_error(404)
            return
        body = open(path, "rb").read()
        self.send_response(200)
        self.send_header("Content-Type", "text/html")
        self.send_header("Content-Encoding", "gzip")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)
    def log_message(self, *args):
        pass
http.server.ThreadingHTTPServer(("127.0.0.1", port), Bomb).serve_forever()
PY
server_pid=$!
for _ in $(seq 100); do
  curl -s -o /dev/null "http://127.0.0.1:$port/repeat.html" && break
  sleep 0.05
done

for name in repeat open; do
  gz=$(stat -c %s "$work/$name.gz")
  start=$(date +%s.%N)
  /usr/bin/time -v -o "$work/time.txt" "$cli" search --depth 0 --tags 31 \
    "http://127.0.0.1:$port/$name.html" >"$work/rows.txt" 2>"$work/err.txt" || true
  end=$(date +%s.%N)
  peak=$(awk -F: '/Maximum resident set size/ {gsub(/ /,"",$2); print $2}' "$work/time.txt")
  printf '%-7s %6d KB gzip -> %d MiB page: peak %d MiB (%.2f x the page), %d rows, %.1f s, %s\n' \
    "$name" $((gz / 1024)) "$mib" $((peak / 1024)) "$(echo "$peak / ($mib * 1024)" | bc -l)" \
    "$(wc -l <"$work/rows.txt")" "$(echo "$end - $start" | bc)" "$(tail -n 1 "$work/err.txt")"
done
