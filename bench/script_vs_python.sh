#!/usr/bin/env bash
# Times the script engine against CPython 3 on the same three workloads in one run:
# integer additions, string building, and a regular expression over a large page.
# Each workload runs once per language (best of N runs); outputs must agree.
#   bench/script_vs_python.sh [RUNS] [path/to/vendil-cli]   (best of RUNS, default 3; without
#   a path a Release build is made in build/host-release)
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
runs="${1:-3}"
python="${PYTHON:-python3}"
if [ $# -ge 2 ]; then
  cli="$2"
else
  build="$here/../build/host-release"
  cmake -S "$here/.." -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVENDIL_TESTS=OFF >/dev/null
  ninja -C "$build" -j2 vendil-cli >/dev/null
  cli="$build/bin/vendil-cli"
fi

# Best wall time of `runs` runs in milliseconds; the output of the last run goes to $out.
best_ms() {
  local best="" start end ms
  for _ in $(seq "$runs"); do
    start=$(date +%s%N)
    out="$("$@")"
    end=$(date +%s%N)
    ms=$(( (end - start) / 1000000 ))
    if [ -z "$best" ] || [ "$ms" -lt "$best" ]; then best=$ms; fi
  done
  echo "$best"
}

printf '%-10s %12s %12s %8s\n' workload "engine ms" "python ms" ratio
status=0
for work in add concat regexp; do
  vbs_ms=$(best_ms "$cli" vbs "$here/script/$work.vbs"); vbs_out="$("$cli" vbs "$here/script/$work.vbs")"
  py_ms=$(best_ms "$python" "$here/script/$work.py"); py_out="$("$python" "$here/script/$work.py")"
  if [ "$vbs_out" != "$py_out" ]; then
    echo "$work: outputs differ: engine '$vbs_out', python '$py_out'" >&2
    status=1
  fi
  ratio=$(awk -v a="$vbs_ms" -v b="$py_ms" 'BEGIN { if (b < 1) b = 1; printf "%.2f", a / b }')
  printf '%-10s %12d %12d %8s\n' "$work" "$vbs_ms" "$py_ms" "$ratio"
done
exit $status
