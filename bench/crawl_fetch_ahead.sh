#!/usr/bin/env bash
# Times crawls of the generated 2,000-page site of crawl_vs_wget.sh served on loopback with a
# fixed delay before every response (default 20 ms, a real round trip), all of the same site
# to the same depth: vendil-cli with 6 connections and with 1, wget2 --spider -r at its
# default and with --max-threads=6, and wget --spider -r. Prints each time, the requests the
# server answered and the most it had in flight, and the ratios against the latency floor
# (pages x delay / 6), wget2 with 6 threads and vendil-cli with one connection. (wget and
# wget2 ask for each page twice in spider mode, HEAD then GET.)
#   bench/crawl_fetch_ahead.sh [DELAY_MS]
set -euo pipefail
cd "$(dirname "$0")/.."
delay=${1:-20}

source bench/crawl_common.sh
for tool in wget2 wget; do
  command -v "$tool" >/dev/null || { echo "$tool is missing (./scripts/deps.sh)" >&2; exit 1; }
done


python3 bench/make_site.py "$work/site" "$work/urls.txt"
pages=$(wc -l < "$work/urls.txt")
serve_with_delay "$work/site" "$delay"

printf '%-24s %9s %9s %12s\n' run seconds requests "in flight"
declare -A t
set -f  # the specs below are split into words, never globbed
for entry in "vendil-6|$cli search --connections 6 --depth 3 --mask *.zip $base/index.html" \
            "vendil-1|$cli search --connections 1 --depth 3 --mask *.zip $base/index.html" \
            "wget2|wget2 --spider -r -l 3 -np -nd -q $base/index.html" \
            "wget2-6|wget2 --spider -r -l 3 -np -nd -q --max-threads=6 $base/index.html" \
            "wget|wget --spider -r -l 3 -np -nd -q $base/index.html"; do
  name=${entry%%|*}
  read -r seconds requests most < <(rm -rf "$work/dl" && mkdir -p "$work/dl" && timed_run "$name" "$work/dl" ${entry#*|})
  t[$name]=$seconds
  printf '%-24s %9.2f %9d %12d\n' "$name" "$seconds" "$requests" "$most"
done
rows=$(wc -l < "$work/vendil-6.out")
if ! cmp -s "$work/vendil-6.out" "$work/vendil-1.out"; then
  echo "the rows of 6 connections and of 1 differ" >&2
  exit 1
fi
echo "vendil-cli: $rows rows, the same with 6 connections and with 1 ($(tail -n 1 "$work/vendil-6.err"))"
floor=$(echo "$pages * $delay / 1000 / 6" | bc -l)
printf 'latency floor (%d pages x %d ms / 6): %.2fs\n' "$pages" "$delay" "$floor"
printf 'vendil-6 / floor     = %.2f (target <= 1.20)\n' "$(echo "${t[vendil-6]} / $floor" | bc -l)"
printf 'vendil-6 / wget2-6   = %.2f (target <= 1.00)\n' "$(echo "${t[vendil-6]} / ${t[wget2-6]}" | bc -l)"
printf 'vendil-1 / vendil-6  = %.2f (target >= 5.00)\n' "$(echo "${t[vendil-1]} / ${t[vendil-6]}" | bc -l)"
