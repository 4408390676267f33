#!/usr/bin/env python3
"""Serves data/sample-site on 127.0.0.1 at a free port and crawls it with vendil-cli, or
opens the window with the site's address in the URL field.

usage: sample_site.py PATH/TO/vendil-cli [extra vendil-cli search options]
       sample_site.py --window PATH/TO/vendil
"""
import functools
import http.server
import os
import subprocess
import sys
import threading

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "sample-site")


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, format, *args):  # the crawl's own output is what matters here
        pass


def main() -> int:
    if len(sys.argv) < 2:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    cli = sys.argv[1]
    handler = functools.partial(QuietHandler, directory=os.path.normpath(ROOT))
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    thread = threading.Thread(target=server.serve_forever, daemon=True)
    thread.start()
    url = "http://127.0.0.1:%d/index.html" % server.server_address[1]
    try:
        if cli == "--window" and len(sys.argv) > 2:
            print("サンプルサイト: " + url + " (「開始」で巡回します)", file=sys.stderr)
            return subprocess.call([sys.argv[2], url])
        print("crawling the sample site at " + url, file=sys.stderr)
        command = [cli, "search", "--depth", "2", "--mask", "*.zip"] + sys.argv[2:] + [url]
        return subprocess.call(command)
    finally:
        server.shutdown()
        server.server_close()


if __name__ == "__main__":
    sys.exit(main())
