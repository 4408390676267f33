#!/usr/bin/env bash
# Times the download of 200 files of 1 MB from a loopback server that answers every request
# after a fixed delay (default 20 ms, a real round trip): vendil-cli search … --download
# (aria2c underneath, 6 files at a time), aria2c -i LIST alone with the same 6, and
# wget2 -i LIST with 6 threads, in one run. Each is run ROUNDS times, interleaved, and the
# median wall time counts (a shared machine's noise is large); prints the times and the
# ratios against aria2c alone. Every tool's files are compared with the server's.
# Vendil's time includes its search of the index page and the start and end of its aria2c.
#   bench/download.sh [DELAY_MS] [FILES] [ROUNDS]
set -euo pipefail
cd "$(dirname "$0")/.."
delay=${1:-20}
files=${2:-200}
rounds=${3:-3}

source bench/crawl_common.sh
for tool in aria2c wget2; do
  command -v "$tool" >/dev/null || { echo "$tool is missing (./scripts/deps.sh)" >&2; exit 1; }
done

mkdir -p "$work/site"
{
  echo "<html><body>"
  for i in $(seq -w 1 "$files"); do
    head -c 1048576 /dev/urandom >"$work/site/file$i.bin"
    echo "<a href=\"file$i.bin\">file$i</a>"
  done
  echo "</body></html>"
} >"$work/site/index.html"
serve_with_delay "$work/site" "$delay"
for i in $(seq -w 1 "$files"); do echo "$base/file$i.bin"; done >"$work/list.txt"

# run NAME OUTDIR COMMAND...: adds the wall seconds of COMMAND to times[NAME]; the files it
# left are checked.
declare -A times
run() {
  local name=$1 out=$2
  shift 2
  rm -rf "$out"
  mkdir -p "$out"
  local start end
  start=$(date +%s.%N)
  "$@" >/dev/null 2>"$work/$name.err" || { echo "$name failed:" >&2; tail -5 "$work/$name.err" >&2; exit 1; }
  end=$(date +%s.%N)
  times[$name]+="$(echo "$end - $start" | bc -l) "
  local bad=0
  for f in "$work"/site/file*.bin; do cmp -s "$f" "$out/$(basename "$f")" || bad=$((bad + 1)); done
  [ "$bad" -eq 0 ] || { echo "$name: $bad files differ or are missing" >&2; exit 1; }
}
median() { tr ' ' '\n' <<<"${times[$1]}" | grep . | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

echo "$files files of 1 MB, ${delay} ms per response, median of $rounds rounds"
for _ in $(seq "$rounds"); do
  run aria2c "$work/a" aria2c -q -j6 -x1 --file-allocation=none -d "$work/a" -i "$work/list.txt"
  run wget2 "$work/w" wget2 -q --max-threads=6 -P "$work/w" -i "$work/list.txt"
  run vendil "$work/v" "$cli" search "$base/index.html" --mask '*.bin' --save-folder "$work/v" --download
done
for name in aria2c wget2 vendil; do
  printf '%-8s %7.2f s   (rounds: %s)\n' "$name" "$(median $name)" "${times[$name]}"
done
echo "vendil / aria2c: $(echo "scale=2; $(median vendil) / $(median aria2c)" | bc -l)x (target <= 1.1)"
echo "wget2 / aria2c:  $(echo "scale=2; $(median wget2) / $(median aria2c)" | bc -l)x"
