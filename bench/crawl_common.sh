# Shared by the crawl benchmarks (sourced from the repository root): a Release vendil-cli in
# $cli (or the one VENDIL_CLI names), a work folder in $work removed on exit, and $server_pid, a server process of the
# benchmark that is ended on exit too.
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
