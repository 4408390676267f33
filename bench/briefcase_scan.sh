#!/usr/bin/env bash
# Times a release vendil-cli scanning a generated stand-in briefcase of 200 folders and
# 20,000 files (100 files a folder, listings paged at 50, so every folder is read twice:
# its page and its show-all page) served on loopback. Prints, per run, the requests the
# server answered, the scan's wall time and the peak memory of the vendil-cli process.
#   bench/briefcase_scan.sh [RUNS]     (default 3)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-3}

build=build/briefcase-release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVENDIL_TESTS=OFF >/dev/null
if ! log=$(ninja -C "$build" -j2 vendil-cli); then echo "$log" >&2; exit 1; fi

for i in $(seq "$runs"); do
  echo "run $i:"
  python3 scripts/briefcase_demo.py "$build/bin/vendil-cli" --no-sign-in --measure \
    --generate 200 20000 --format tsv 2>&1 >/dev/null | grep -E "requests|scan time|ファイル"
done
