#!/usr/bin/env bash
# Measures how long a script takes to honour Stop (Ctrl+C, SIGINT) when every statement is
# heavy: the time from the signal to the end of the process, for `vendil-cli vbs` running
# endless loops of light statements, Space(1e7), Replace over 10 MB and joining 10 MB texts,
# and for a crawl whose add-URL script runs such a loop on its page. Target: under 500 ms.
#   bench/script_stop.sh [path/to/vendil-cli] [RUNS]   (worst of RUNS, default 3)
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
if [ $# -ge 1 ]; then
  cli="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
else
  build="$here/../build/host-release"
  cmake -S "$here/.." -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVENDIL_TESTS=OFF >/dev/null
  ninja -C "$build" -j2 vendil-cli >/dev/null
  cli="$build/bin/vendil-cli"
fi
runs="${2:-3}"

work=$(mktemp -d)
server_pid=""
cleanup() {
  if [ -n "$server_pid" ]; then kill "$server_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

# The script loops, named by workload.
cat > "$work/light.vbs" <<'VBS'
Do
  n = n + 1
Loop
VBS
cat > "$work/space.vbs" <<'VBS'
Do
  s = Space(10000000)
Loop
VBS
cat > "$work/replace.vbs" <<'VBS'
big = String(10000000, "a")
Do
  s = Replace(big, "a", "b")
Loop
VBS
cat > "$work/join.vbs" <<'VBS'
big = Space(10000000)
Do
  s = big & big
Loop
VBS

# Starts the command, sends SIGINT after 1.5 s and prints the milliseconds until it ended;
# one that is still running after 60 s is killed and reported as 60000.
stop_latency() {
  "$@" >/dev/null 2>&1 &
  local pid=$!
  sleep 1.5
  local start end
  start=$(date +%s%N)
  kill -INT "$pid"
  while kill -0 "$pid" 2>/dev/null; do
    if [ $(( ($(date +%s%N) - start) / 1000000 )) -ge 60000 ]; then
      kill -KILL "$pid" 2>/dev/null || true
      wait "$pid" 2>/dev/null || true
      echo 60000
      return
    fi
    sleep 0.01
  done
  wait "$pid" 2>/dev/null || true
  end=$(date +%s%N)
  echo $(( (end - start) / 1000000 ))
}

worst_of() {
  local worst=0 ms
  for _ in $(seq "$runs"); do
    ms=$(stop_latency "$@")
    if [ "$ms" -gt "$worst" ]; then worst=$ms; fi
  done
  echo "$worst"
}

printf '%-16s %10s\n' workload "stop ms"
for work_name in light space replace join; do
  printf '%-16s %10d\n' "vbs $work_name" "$(worst_of "$cli" vbs "$work/$work_name.vbs")"
done

# A crawl: a copy of vendil-cli with the add-URL script beside it, on a page served locally.
mkdir -p "$work/prog/scripts" "$work/site"
cp "$cli" "$work/prog/vendil-cli"
cp "$work/replace.vbs" "$work/prog/scripts/heavy.vbs"
echo '<a href="a.zip">a</a>' > "$work/site/index.html"
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
python3 -m http.server "$port" --bind 127.0.0.1 --directory "$work/site" >/dev/null 2>&1 &
server_pid=$!
for _ in $(seq 50); do
  if python3 -c "import urllib.request; urllib.request.urlopen('http://127.0.0.1:$port/index.html')" 2>/dev/null; then break; fi
  sleep 0.1
done
printf '%-16s %10d\n' "crawl replace" \
  "$(worst_of "$work/prog/vendil-cli" search --script heavy.vbs "http://127.0.0.1:$port/index.html")"
