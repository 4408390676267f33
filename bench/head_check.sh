#!/usr/bin/env bash
# Times the link check of 1,000 links on a loopback server that answers every request after a
# fixed delay (default 20 ms, a real round trip): vendil-cli search --depth 0 --head over a
# page that lists them, against the latency floor (links x delay / connections) and against
# wget2 --spider -i LIST with as many threads, in one run. Prints each time, the requests the
# server answered and the most it had in flight, and the ratios.
#   bench/head_check.sh [DELAY_MS] [CONNECTIONS]
set -euo pipefail
cd "$(dirname "$0")/.."
delay=${1:-20}
connections=${2:-6}
links=1000

source bench/crawl_common.sh
command -v wget2 >/dev/null || { echo "wget2 is missing (./scripts/deps.sh)" >&2; exit 1; }

mkdir -p "$work/site/files"
{
  echo "<html><body>"
  for i in $(seq -w 1 $links); do
    head -c "$((10#$i * 37))" /dev/zero >"$work/site/files/f$i.zip"
    echo "<a href=\"files/f$i.zip\">f$i</a>"
  done
  echo "</body></html>"
} >"$work/site/index.html"
serve_with_delay "$work/site" "$delay"
for i in $(seq -w 1 $links); do echo "$base/files/f$i.zip"; done >"$work/list.txt"

printf '%-10s %9s %9s %12s\n' run seconds requests "in flight"
declare -A t
set -f
for entry in "vendil|$cli search --depth 0 --mask * --head --connections $connections $base/index.html" \
            "wget2|wget2 --spider -q --max-threads=$connections -i $work/list.txt"; do
  name=${entry%%|*}
  read -r seconds requests most < <(timed_run "$name" "$work" ${entry#*|})
  t[$name]=$seconds
  printf '%-10s %9.2f %9d %12d\n' "$name" "$seconds" "$requests" "$most"
done
# Every row must carry its file's size: f0001.zip is 37 bytes, f1000.zip 37,000.
checked=$(awk -F'\t' 'NF == 11 && $11 == "200" { n = substr($2, 2, 4) + 0; if ($9 == n * 37) ok++ } END { print ok + 0 }' "$work/vendil.out")
if [ "$checked" != "$links" ]; then
  echo "only $checked of $links rows have their exact size and state" >&2
  exit 1
fi
floor=$(echo "$links * $delay / 1000 / $connections" | bc -l)
printf 'latency floor (%d links x %d ms / %d): %.2fs\n' "$links" "$delay" "$connections" "$floor"
printf 'vendil / floor: %.2f   vendil / wget2: %.2f\n' "$(echo "${t[vendil]} / $floor" | bc -l)" \
  "$(echo "${t[vendil]} / ${t[wget2]}" | bc -l)"
