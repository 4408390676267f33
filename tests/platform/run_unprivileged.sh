#!/usr/bin/env bash
# Runs the given tests of a test binary as an ordinary user: file permissions do not bind
# root, so as root (CI) the binary is copied where any user may run it and started as
# "nobody". A test that skips counts as a failure here: these tests must really run.
#   run_unprivileged.sh TEST_BINARY GTEST_FILTER
set -euo pipefail
binary=$1
filter=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$binary" "$work/tests"
chmod 755 "$work" "$work/tests"
run=("$work/tests" "--gtest_filter=$filter")
if [ "$(id -u)" -eq 0 ]; then
  run=(setpriv --reuid=nobody --regid=nogroup --clear-groups env "HOME=$work" "TMPDIR=$work" "${run[@]}")
  chmod 1777 "$work"
fi
out=$(cd "$work" && "${run[@]}" 2>&1) || { echo "$out"; exit 1; }
echo "$out"
if grep -q '^\[  SKIPPED \]' <<<"$out"; then
  echo "a permission test skipped: it did not run" >&2
  exit 1
fi
grep -q '^\[  PASSED  \] [1-9]' <<<"$out"
