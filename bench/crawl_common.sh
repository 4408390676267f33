# Shared by the crawl benchmarks (sourced from the repository root): a Release vendil-cli in
# $cli (or the one VENDIL_CLI names), a work folder in $work removed on exit, $server_pid, a
# server process of the benchmark that is ended on exit too, and serve_with_nginx.
# VENDIL_CLI names another vendil-cli to time (an older build, say) instead.
if [ -n "${VENDIL_CLI:-}" ]; then
  cli=$VENDIL_CLI
else
  build=${VENDIL_BENCH_BUILD:-build/bench}
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVENDIL_TESTS=OFF >/dev/null
  if ! log=$(ninja -C "$build" -j2 vendil-cli vendil_runtime_files); then echo "$log" >&2; exit 1; fi
  cli=$PWD/$build/bin/vendil-cli
fi

work=$(mktemp -d)
server_pid=""
cleanup() {
  if [ -n "$server_pid" ] && kill -0 "$server_pid" 2>/dev/null; then kill "$server_pid"; fi
  rm -rf "$work"
}
trap cleanup EXIT

# serve_with_nginx ROOT [HTTP_LINES]: serves ROOT with nginx (one worker, connections kept
# alive) on a free loopback port, HTTP_LINES added to its http block; sets $port and
# $server_pid and returns once the server answers.
serve_with_nginx() {
  local root=$1 http_lines=${2:-}
  # nginx workers run as an unprivileged user; they must be able to read the work folder.
  chmod 755 "$work"
  port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
  mkdir -p "$work/nginx/logs"
  cat >"$work/nginx/nginx.conf" <<CONF
worker_processes 1;
daemon off;
pid $work/nginx/nginx.pid;
error_log $work/nginx/logs/error.log;
events { worker_connections 256; }
http {
$http_lines
  keepalive_requests 100000;
  server {
    listen 127.0.0.1:$port;
    root $root;
  }
}
CONF
  nginx -e "$work/nginx/logs/error.log" -p "$work/nginx" -c "$work/nginx/nginx.conf" &
  server_pid=$!
  for _ in $(seq 100); do
    curl -s -o /dev/null "http://127.0.0.1:$port/" && return 0
    sleep 0.05
  done
  echo "nginx did not answer on port $port" >&2
  exit 1
}

# serve_with_delay ROOT DELAY_MS: serves ROOT with bench/delay_server.py, every answer held
# DELAY_MS; sets $base ("http://127.0.0.1:PORT") and $server_pid, and resets its counts.
serve_with_delay() {
  python3 bench/delay_server.py "$1" "$2" "$work/port" &
  server_pid=$!
  for _ in $(seq 100); do [ -f "$work/port" ] && break; sleep 0.05; done
  base="http://127.0.0.1:$(cat "$work/port")"
  curl -s "$base/__stats" >/dev/null
}

# timed_run NAME DIR COMMAND...: runs COMMAND in DIR with its output in $work/NAME.out and
# .err; prints the wall seconds, then the requests the delay server answered and the most
# it had in flight meanwhile.
timed_run() {
  local name=$1 dir=$2
  shift 2
  local start end
  start=$(date +%s.%N)
  (cd "$dir" && "$@" >"$work/$name.out" 2>"$work/$name.err") || true
  end=$(date +%s.%N)
  echo "$(echo "$end - $start" | bc) $(curl -s "$base/__stats")"
}
