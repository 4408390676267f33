#!/usr/bin/env bash
# Builds and starts Vendil:
#   ./scripts/run.sh                    with a display: the window, the sample site served on
#                                       loopback and its address in the URL field; without
#                                       one: the sample site crawled by vendil-cli
#   ./scripts/run.sh --window [URL]     the window, whatever the environment says
#   ./scripts/run.sh --briefcase-demo   scan the stand-in briefcase service offline
#   ./scripts/run.sh search [options] URL...   (or any other vendil-cli command line)
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh dev --target vendil vendil-cli vendil_runtime_files >/dev/null
cli=build/dev/bin/vendil-cli
window=build/dev/bin/vendil

if [ $# -eq 0 ]; then
  if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec python3 scripts/sample_site.py --window "$window"
  fi
  exec python3 scripts/sample_site.py "$cli"
fi
if [ "$1" = "--window" ]; then
  shift
  exec "$window" "$@"
fi
if [ "$1" = "--briefcase-demo" ]; then
  shift
  exec python3 scripts/briefcase_demo.py "$cli" "$@"
fi
case "$1" in
  search|create|check|check-list|vbs|--help|--version) exec "$cli" "$@" ;;
  *) exec "$cli" search "$@" ;;
esac
