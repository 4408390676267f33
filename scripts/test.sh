#!/usr/bin/env bash
# Runs every test: the format check, the whole suite (unit, integration, script suites),
# the core tests again under AddressSanitizer and UndefinedBehaviorSanitizer, and each
# fuzz target for a bounded time on its seed corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
export QT_QPA_PLATFORM=offscreen
FUZZ_SECONDS=${FUZZ_SECONDS:-20}
jobs=$(nproc)

./scripts/deps.sh

echo "== format check"
mapfile -t files < <(git ls-files -co --exclude-standard -- '*.cpp' '*.h' | grep -v '^build/' || true)
bad=()
for f in "${files[@]}"; do
  [ -f "$f" ] || continue
  if ! clang-format --dry-run --Werror "$f" >/dev/null 2>&1; then bad+=("$f"); fi
done
if [ ${#bad[@]} -gt 0 ]; then
  echo "not formatted (run clang-format -i): ${bad[*]}" >&2
  exit 1
fi

echo "== build and test (dev)"
cmake --preset dev >/dev/null
cmake --build --preset dev -j "$jobs"
ctest --preset dev -j "$jobs"

echo "== window tests on an X server with a window manager (real frames, focus, maximize)"
# The desktop's browser is left out: whether one is installed is the machine's business.
timeout 120 xvfb-run -a -s "-screen 0 1280x800x24 -dpi 96" bash -c '
  openbox >/dev/null 2>&1 &
  sleep 1
  QT_QPA_PLATFORM=xcb build/dev/bin/test_gui \
    --gtest_filter="NewcomerTest.*:MainWindowTest.*:DesktopWindowsTest.*:-*WithoutABrowser*"
'

echo "== core tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake --preset asan >/dev/null
cmake --build --preset asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --preset asan -j "$jobs" -E '^(Integration|Bench)'

echo "== fuzz targets (${FUZZ_SECONDS}s each, ${jobs} at a time)"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$jobs"
# One target on a copy of its corpus; its log is shown only when it fails.
fuzz_one() {
  local name=$1 corpus=fuzz/corpus/$1 work
  mkdir -p "$corpus"
  work=$(mktemp -d)
  cp -r "$corpus"/. "$work"/ 2>/dev/null || true
  if build/fuzz/bin/"$name" -max_total_time="$FUZZ_SECONDS" -max_len=65536 -rss_limit_mb=2048 \
    -timeout=10 -print_final_stats=0 "$work" >"build/fuzz/$name.log" 2>&1; then
    echo "-- $name"
    rm -rf "$work"
  else
    tail -50 "build/fuzz/$name.log" >&2
    echo "fuzz target $name failed" >&2
    rm -rf "$work"
    return 1
  fi
}
names=()
for target in fuzz/*.cpp; do names+=("$(basename "$target" .cpp)"); done
failed=0
# Every target runs the same time, so batches of one per core keep the cores busy.
for ((i = 0; i < ${#names[@]}; i += jobs)); do
  pids=()
  for name in "${names[@]:i:jobs}"; do
    fuzz_one "$name" &
    pids+=($!)
  done
  for pid in "${pids[@]}"; do wait "$pid" || failed=1; done
done
[ "$failed" -eq 0 ] || exit 1
echo "all tests passed"
