#!/usr/bin/env python3
"""A server on 127.0.0.1 that holds every request it takes, in one of three ways:

    bench/stalled_server.py silent|head|drip PORT_FILE SEEN_FILE

silent: reads the request and never answers; head: sends the headers of a long HTML page,
then nothing; drip: sends the headers, then one byte a second. Writes its port to PORT_FILE
once listening and touches SEEN_FILE when it takes a request.
"""
import os
import socket
import sys
import threading
import time

mode, port_file, seen_file = sys.argv[1:4]
HEAD = b"HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: 100000\r\n\r\n"


def hold(connection):
    with connection:
        connection.recv(65536)
        open(seen_file, "w").close()
        if mode != "silent":
            connection.sendall(HEAD)
        while True:
            time.sleep(1)
            if mode == "drip":
                try:
                    connection.sendall(b"<")
                except OSError:
                    return


listener = socket.socket()
listener.bind(("127.0.0.1", 0))
listener.listen(16)
with open(port_file + ".tmp", "w") as f:
    f.write(str(listener.getsockname()[1]))
os.rename(port_file + ".tmp", port_file)
while True:
    conn, _ = listener.accept()
    threading.Thread(target=hold, args=(conn,), daemon=True).start()
