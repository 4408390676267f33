#!/usr/bin/env bash
# Times a vendil-cli crawl of a generated local site (about 2,000 pages, depth 3, about 20
# links a page, served by nginx on loopback) against `wget --spider -r` on the same site and
# against the floor: curl fetching the same page list one after another over one connection.
#   bench/crawl_vs_wget.sh [RUNS]     (best of RUNS, default 3)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-3}

build=${VENDIL_BENCH_BUILD:-build/bench}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVENDIL_TESTS=OFF >/dev/null
if ! log=$(ninja -C "$build" -j2 vendil-cli vendil_runtime_files); then echo "$log" >&2; exit 1; fi
cli=$PWD/$build/bin/vendil-cli

work=$(mktemp -d)
# nginx workers run as an unprivileged user; they must be able to read the site.
chmod 755 "$work"
nginx_pid=""
cleanup() {
  if [ -n "$nginx_pid" ] && kill -0 "$nginx_pid" 2>/dev/null; then kill "$nginx_pid"; fi
  rm -rf "$work"
}
trap cleanup EXIT

# The site: level 0 has 13 children, level 1 pages 13 each, level 2 pages 11 each; every
# page up to level 2 fills its 20 links with links to pages already linked (duplicates the
# crawlers must drop); level-3 pages link 20 archives that no crawler fetches at depth 3.
python3 - "$work/site" "$work/urls.txt" <<'PY'
import os, sys
root, urls_file = sys.argv[1], sys.argv[2]
os.makedirs(root)
fanout = [13, 13, 11]
levels = [["index.html"]]
children = {}
n = 0
for depth, k in enumerate(fanout):
    nxt = []
    for page in levels[depth]:
        kids = []
        for _ in range(k):
            n += 1
            kids.append("p%05d.html" % n)
        children[page] = kids
        nxt += kids
    levels.append(nxt)
pages = [p for level in levels for p in level]
for depth, level in enumerate(levels):
    for i, page in enumerate(level):
        if depth < 3:
            links = list(children[page])
            j = 0
            while len(links) < 20:
                links.append(level[(i + j + 1) % len(level)] if len(level) > 1 else "index.html")
                j += 1
        else:
            links = ["files/%s-%02d.zip" % (page[:-5], j) for j in range(20)]
        body = "".join('<li><a href="%s">link %d</a></li>\n' % (l, j) for j, l in enumerate(links))
        with open(os.path.join(root, page), "w") as f:
            f.write("<html><head><title>%s</title></head><body><ul>\n%s</ul></body></html>\n"
                    % (page, body))
with open(urls_file, "w") as f:
    for p in pages:
        f.write(p + "\n")
print("site: %d pages" % len(pages), file=sys.stderr)
PY

port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
mkdir -p "$work/nginx/logs"
cat > "$work/nginx/nginx.conf" <<CONF
worker_processes 1;
daemon off;
pid $work/nginx/nginx.pid;
error_log $work/nginx/logs/error.log;
events { worker_connections 256; }
http {
  access_log off;
  types { text/html html; application/zip zip; }
  keepalive_requests 100000;
  server {
    listen 127.0.0.1:$port;
    root $work/site;
  }
}
CONF
nginx -e "$work/nginx/logs/error.log" -p "$work/nginx" -c "$work/nginx/nginx.conf" &
nginx_pid=$!
for _ in $(seq 100); do
  curl -s -o /dev/null "http://127.0.0.1:$port/index.html" && break
  sleep 0.05
done
base="http://127.0.0.1:$port"

: > "$work/curl.cfg"
while read -r p; do
  printf 'url = "%s/%s"\noutput = "/dev/null"\n' "$base" "$p" >> "$work/curl.cfg"
done < "$work/urls.txt"

# best_of NAME COMMAND...: the best wall time in seconds and the peak memory (KiB) of that run.
best_of() {
  local name=$1
  shift
  local best="" mem=""
  for _ in $(seq "$runs"); do
    rm -rf "$work/wget"
    mkdir -p "$work/wget"
    local start end t
    start=$(date +%s.%N)
    (cd "$work/wget" && /usr/bin/time -v -o "$work/time.txt" "$@" >"$work/$name.out" 2>"$work/$name.err") || true
    end=$(date +%s.%N)
    t=$(echo "$end - $start" | bc)
    if [ -z "$best" ] || [ "$(echo "$t < $best" | bc)" = 1 ]; then
      best=$t
      mem=$(awk -F: '/Maximum resident set size/ {gsub(/ /,"",$2); print $2}' "$work/time.txt")
    fi
  done
  echo "$best $mem"
}

read -r vendil_t vendil_mem < <(best_of vendil "$cli" search --depth 3 --mask '*.zip' "$base/index.html")
rows=$(wc -l < "$work/vendil.out")
if [ "$rows" -eq 0 ]; then
  echo "the crawl found nothing: $(tail -n 3 "$work/vendil.err")" >&2
  exit 1
fi
read -r wget_t wget_mem < <(best_of wget wget --spider -r -l 3 -np -nd -q "$base/index.html")
read -r curl_t curl_mem < <(best_of curl curl -s -K "$work/curl.cfg")

echo "vendil-cli: ${vendil_t}s, peak ${vendil_mem} KiB, ${rows} rows ($(tail -n 1 "$work/vendil.err"))"
echo "wget:       ${wget_t}s, peak ${wget_mem} KiB"
echo "curl floor: ${curl_t}s, peak ${curl_mem} KiB"
printf 'vendil/wget  = %.2f (target <= 0.70)\n' "$(echo "$vendil_t / $wget_t" | bc -l)"
printf 'vendil/floor = %.2f (target <= 1.30)\n' "$(echo "$vendil_t / $curl_t" | bc -l)"
