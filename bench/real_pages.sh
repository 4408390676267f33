#!/usr/bin/env bash
# A whole crawl of real pages beside an independent reference: Debian's Python 3.11 manual
# (package python3.11-doc, about 530 HTML pages nobody here wrote) served by nginx on
# loopback, crawled at depth 3 with all five tag kinds by vendil-cli and by
# bench/real_pages_reference.py (the same crawl rules over the standard library's HTML
# parser). Reports the share of row URLs both agree on and the requests vendil-cli made per
# distinct URL; the URLs only one of them lists go to build/real-pages-diff.txt.
#   bench/real_pages.sh [path/to/vendil-cli]   (without a path the Release
#   vendil-cli of build/bench is built; REAL_PAGES_ROOT and REAL_PAGES_START name another tree and its
#   start page, REAL_PAGES_DEPTH another depth)
set -euo pipefail
cd "$(dirname "$0")/.."
root=${REAL_PAGES_ROOT:-/usr/share/doc/python3.11/html}
start_page=${REAL_PAGES_START:-index.html}
depth=${REAL_PAGES_DEPTH:-3}

./scripts/deps.sh
if [ $# -ge 1 ]; then VENDIL_CLI=$1; fi
# shellcheck source=crawl_common.sh
. bench/crawl_common.sh
# The access log records every request vendil-cli makes, with its User-Agent.
serve_with_nginx "$root" "  include /etc/nginx/mime.types;
  log_format crawl '\$http_user_agent\t\$request_uri\t\$status';
  access_log $work/access.log crawl;"
: >"$work/access.log"
start="http://127.0.0.1:$port/$start_page"

"$cli" search --depth "$depth" --tags 31 --format tsv "$start" >"$work/vendil.tsv" 2>"$work/vendil.err"
cut -f3 "$work/vendil.tsv" >"$work/vendil.txt"
python3 bench/real_pages_reference.py "$start" "$depth" >"$work/reference.txt"

mkdir -p build
python3 - "$work" "$PWD/build/real-pages-diff.txt" "$(tail -n 1 "$work/vendil.err")" <<'PY'
import collections, sys
work, diff_path, status = sys.argv[1], sys.argv[2], sys.argv[3]
def lines(name):
    with open(f"{work}/{name}", encoding="utf-8", errors="replace") as f:
        return [line.rstrip("\n") for line in f if line.strip()]
vendil, reference = lines("vendil.txt"), lines("reference.txt")
a, b = set(vendil), set(reference)
requests = collections.Counter()
for line in lines("access.log"):
    agent, uri, _ = line.split("\t")
    if not agent.startswith("vendil-reference"):
        requests[uri] += 1
both, union = len(a & b), len(a | b)
print(f"vendil-cli: {len(vendil)} rows ({status})")
print(f"reference:  {len(reference)} rows")
print(f"agreement:  {both}/{union} URLs = {100.0 * both / union:.2f} % (target >= 99.5 %)")
total, distinct = sum(requests.values()), len(requests)
print(f"fetches:    {total} requests for {distinct} distinct URLs = "
      f"{total / distinct:.3f} per page (target <= 1.05)")
with open(diff_path, "w", encoding="utf-8") as f:
    for title, urls in (("only vendil-cli", a - b), ("only the reference", b - a)):
        f.write(f"== {title}: {len(urls)}\n")
        for url in sorted(urls):
            f.write(url + "\n")
    f.write("== requested more than once\n")
    for uri, n in sorted(requests.items()):
        if n > 1:
            f.write(f"{n}\t{uri}\n")
print(f"differences: {diff_path}")
PY
