#!/usr/bin/env bash
# CPU time and peak memory of vendil-cli reading one big page served on loopback by nginx:
# a page of 1,000,000 distinct links (`<a href="/m/f0000000.zip">file 0</a>` per line), and
# a 10 MB page of mixed markup (text, links, images, comments, tables, scripts). Each is read
# with `search --depth 0 --mask '*'` under /usr/bin/time -v, three times; prints the best
# user+system seconds, the peak resident memory of that run and the rows printed.
#   bench/million_links.sh [RUNS]   (default 3; builds the release preset's vendil-cli,
#   or times the one VENDIL_CLI names)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-3}
if [ -z "${VENDIL_CLI:-}" ]; then
  cmake --preset release >/dev/null
  if ! log=$(cmake --build --preset release -j2 --target vendil-cli vendil_runtime_files); then
    echo "$log" >&2
    exit 1
  fi
  VENDIL_CLI=$PWD/build/release/bin/vendil-cli
fi
# shellcheck source=crawl_common.sh
. bench/crawl_common.sh

mkdir -p "$work/www"
python3 - "$work/www" <<'PY'
import sys
root = sys.argv[1]
with open(f"{root}/million.html", "w") as f:
    f.write("<html><head><title>Files</title></head><body>\n")
    f.write("".join(f'<a href="/m/f{i:07d}.zip">file {i}</a>\n' for i in range(1000000)))
    f.write("</body></html>\n")
parts, n = ["<html><head><title>Files</title></head><body>\n"], 0
size = len(parts[0])
while size < 10 * 1024 * 1024:
    row = (f'<p class="row">Some text about file {n} and a few more words here.</p>\n'
           + '<p>Plain running text of an ordinary page, a sentence or two about the files '
           'offered here, with <b>some</b> markup and an &amp; entity now and then.</p>\n' * 4
           + f'<a href="dl/file{n}.zip" target=_blank><b>File {n}</b> (zip)</a>\n'
           f'<img src="thumb/{n}.jpg" alt="Thumb {n}" width=80 height=60>\n'
           f'<!-- row {n} <a href=hidden.html> -->\n')
    if n % 5 == 0:
        row += f'<table><tr><td><area href="map{n}.html" alt=M></td></tr></table>\n'
    if n % 13 == 0:
        row += '<script>if (a < b && c > d) { x = "<a href=no.html>"; }</script>\n'
    parts.append(row)
    size += len(row)
    n += 1
parts.append("</body></html>\n")
with open(f"{root}/mixed.html", "w") as f:
    f.write("".join(parts))
PY
serve_with_nginx "$work/www"

printf '%-14s %8s %10s %9s %9s\n' page MB "CPU s" "peak MB" rows
for page in million mixed; do
  best=""
  for _ in $(seq "$runs"); do
    /usr/bin/time -v -o "$work/time.txt" "$cli" search --depth 0 --mask '*' \
      "http://127.0.0.1:$port/$page.html" >"$work/rows.txt" 2>"$work/err.txt" || true
    cpu=$(awk -F: '/User time|System time/ {s += $2} END {printf "%.3f", s}' "$work/time.txt")
    peak=$(awk -F: '/Maximum resident set size/ {gsub(/ /, "", $2); print int($2 / 1024)}' \
      "$work/time.txt")
    rows=$(wc -l <"$work/rows.txt")
    if [ -z "$best" ] || [ "$(echo "$cpu < ${best%% *}" | bc)" = 1 ]; then
      best="$cpu $peak $rows"
    fi
  done
  read -r cpu peak rows <<<"$best"
  mb=$(echo "scale=1; $(stat -c %s "$work/www/$page.html") / 1048576" | bc)
  printf '%-14s %8s %10s %9s %9s\n' "$page.html" "$mb" "$cpu" "$peak" "$rows"
done
