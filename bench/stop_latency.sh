#!/usr/bin/env bash
# Measures how fast one Ctrl+C ends a vendil-cli search held by a server that stalls (one
# that never answers, one that sends headers and stalls, one that drips a byte a second) or
# that streams pages without end as fast as they are read, and how much CPU the search uses
# while it waits: the search runs WAIT seconds (default 2) on that server, then gets SIGINT;
# the time from the signal to the end of the process is the Stop latency (target < 0.5 s),
# the CPU time over the wait its load (target < 5 % of a core while stalled; a streaming
# page keeps a core busy reading), and the peak resident memory of the whole run its cost
# (target < 0.5 GB for the endless pages).
#   bench/stop_latency.sh [WAIT_SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
wait_seconds=${1:-2}

source bench/crawl_common.sh
ticks=$(getconf CLK_TCK)

# CPU ticks (user + system) of a process.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat" 2>/dev/null || echo 0; }

printf '%-8s %14s %12s %9s %6s  %s\n' server "stop latency" "CPU waiting" "peak RSS" exit \
  "last status"
for mode in ${STOP_MODES:-silent head drip endless}; do
  rm -f "$work/port" "$work/seen"
  python3 bench/stalled_server.py "$mode" "$work/port" "$work/seen" &
  server_pid=$!
  for _ in $(seq 100); do [ -f "$work/port" ] && break; sleep 0.05; done
  /usr/bin/time -f %M -o "$work/rss" "$cli" search --depth 1000 \
    "http://127.0.0.1:$(cat "$work/port")/index.html" >"$work/out" 2>"$work/err" &
  time_pid=$!
  for _ in $(seq 200); do
    pid=$(pgrep -n -x -P "$time_pid" vendil-cli || true)
    [ -n "$pid" ] && break
    sleep 0.01
  done
  for _ in $(seq 200); do [ -f "$work/seen" ] && break; sleep 0.01; done
  before=$(cpu_ticks "$pid")
  sleep "$wait_seconds"
  after=$(cpu_ticks "$pid")
  start=$(date +%s%N)
  kill -INT "$pid"
  while kill -0 "$pid" 2>/dev/null; do sleep 0.001; done
  end=$(date +%s%N)
  status=0
  wait "$time_pid" || status=$?
  kill "$server_pid" 2>/dev/null || true
  wait "$server_pid" 2>/dev/null || true
  server_pid=""
  cpu=$(echo "($after - $before) * 100 / $ticks / $wait_seconds" | bc -l)
  printf '%-8s %11d ms %10.1f %% %6d MB %6d  %s\n' "$mode" $(((end - start) / 1000000)) "$cpu" \
    $(($(tail -n 1 "$work/rss") / 1024)) "$status" "$(tail -n 1 "$work/err")"
done
