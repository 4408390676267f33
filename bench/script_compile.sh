#!/usr/bin/env bash
# Times `vendil-cli vbs` on generated scripts of growing size, to show that compiling grows in
# step with the text (a doubled script takes about twice as long), and reports each size's
# time per megabyte. The scripts declare, assign and read thousands of variables at the top
# level and in procedures, under Option Explicit, which is the work the name binding does.
#   bench/script_compile.sh [path/to/vendil-cli] [MB...]   (default sizes 2 4 8 15)
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
if [ $# -ge 1 ]; then
  cli="$1"
  shift
else
  build="$here/../build/host-release"
  cmake -S "$here/.." -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVENDIL_TESTS=OFF >/dev/null
  ninja -C "$build" -j2 vendil-cli >/dev/null
  cli="$build/bin/vendil-cli"
fi
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(2 4 8 15)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

printf '%8s %12s %12s\n' MB "ms" "ms per MB"
for mb in "${sizes[@]}"; do
  file="$work/script-$mb.vbs"
  python3 - "$file" "$mb" <<'PY'
import sys
path, mb = sys.argv[1], float(sys.argv[2])
target = int(mb * 1024 * 1024)
parts, size, i = ["Option Explicit\r\n"], 0, 0
while size < target:
    block = (f"Dim v{i}, w{i}\r\n"
             f"v{i} = {i} + {i % 7}\r\n"
             f"w{i} = v{i} & \"text {i}\"\r\n"
             f"Sub P{i}(a)\r\n  Dim t\r\n  t = a + v{i}\r\n  w{i} = t\r\nEnd Sub\r\n")
    parts.append(block)
    size += len(block)
    i += 1
parts.append("WScript.Echo \"done\"\r\n")
with open(path, "w") as f:
    f.write("".join(parts))
PY
  start=$(date +%s%N)
  out=$("$cli" vbs "$file")
  end=$(date +%s%N)
  if [ "$out" != "done" ]; then echo "the $mb MB script did not run: $out" >&2; exit 1; fi
  ms=$(( (end - start) / 1000000 ))
  printf '%8s %12d %12.0f\n' "$mb" "$ms" "$(awk -v a="$ms" -v b="$mb" 'BEGIN { print a / b }')"
done
