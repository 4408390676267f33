#!/usr/bin/env bash
# Configures and builds one CMake preset (default: dev) after making sure the packages are in.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-dev}
shift || true
./scripts/deps.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" "$@"
