#!/usr/bin/env python3
"""A static HTTP/1.1 server on 127.0.0.1 that sends each .bin file at a fixed pace per
connection (64 KB every PACE_MS), so a download lasts long enough to watch.

    bench/paced_server.py ROOT PACE_MS PORT_FILE

Writes its port to PORT_FILE once listening.
"""
import http.server
import os
import socketserver
import sys
import time

root, pace = os.path.abspath(sys.argv[1]), int(sys.argv[2]) / 1000.0


class Handler(http.server.BaseHTTPRequestHandler):
    def log_message(self, *args):
        pass

    def do_GET(self):
        path = os.path.normpath(os.path.join(root, self.path.split("?")[0].lstrip("/")))
        if not path.startswith(root) or not os.path.isfile(path):
            self.send_response(404)
            self.send_header("Content-Length", "0")
            self.end_headers()
            return
        with open(path, "rb") as f:
            data = f.read()
        self.send_response(200)
        self.send_header("Content-Length", str(len(data)))
        self.send_header("Content-Type",
                         "text/html" if path.endswith(".html") else "application/octet-stream")
        self.end_headers()
        for i in range(0, len(data), 65536):
            try:
                self.wfile.write(data[i:i + 65536])
            except OSError:
                return
            if path.endswith(".bin"):
                time.sleep(pace)


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True


server = Server(("127.0.0.1", 0), Handler)
with open(sys.argv[3] + ".tmp", "w") as f:
    f.write(str(server.server_address[1]))
os.rename(sys.argv[3] + ".tmp", sys.argv[3])
server.serve_forever()
