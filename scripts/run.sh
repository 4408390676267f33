#!/usr/bin/env bash
# Builds and starts Vendil. Until the window exists this is the command-line front end:
#   ./scripts/run.sh                    serve the sample site on loopback and crawl it
#   ./scripts/run.sh --briefcase-demo   scan the stand-in briefcase service offline
#   ./scripts/run.sh search [options] URL...   (or any other vendil-cli command line)
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh dev --target vendil-cli vendil_runtime_files >/dev/null
cli=build/dev/bin/vendil-cli

if [ $# -eq 0 ]; then
  exec python3 scripts/sample_site.py "$cli"
fi
if [ "$1" = "--briefcase-demo" ]; then
  shift
  exec python3 scripts/briefcase_demo.py "$cli" "$@"
fi
case "$1" in
  search|create|check|check-list|vbs|--help|--version) exec "$cli" "$@" ;;
  *) exec "$cli" search "$@" ;;
esac
