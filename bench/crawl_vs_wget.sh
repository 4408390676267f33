#!/usr/bin/env bash
# Times a vendil-cli crawl of a generated local site (about 2,000 pages, depth 3, about 20
# links a page, served by nginx on loopback) against `wget --spider -r` on the same site and
# against the floor: curl fetching the same page list one after another over one connection.
#   bench/crawl_vs_wget.sh [RUNS]     (best of RUNS, default 3)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-3}

source bench/crawl_common.sh
python3 bench/make_site.py "$work/site" "$work/urls.txt"

serve_with_nginx "$work/site" "  access_log off;
  types { text/html html; application/zip zip; }"
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
