#!/usr/bin/env python3
"""A server on 127.0.0.1 that holds every request it takes, in one of four ways:

    bench/stalled_server.py silent|head|drip|endless PORT_FILE SEEN_FILE

silent: reads the request and never answers; head: sends the headers of a long HTML page,
then nothing; drip: sends the headers, then one byte a second; endless: sends a page that
never ends as fast as the reader takes it, each block linking a file and the next endless
page (so a deep crawl never ends by itself). Writes its port to PORT_FILE once listening
and touches SEEN_FILE when it takes a request.
"""
import os
import socket
import sys
import threading
import time

mode, port_file, seen_file = sys.argv[1:4]
HEAD = b"HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: 100000\r\n\r\n"


def endless(connection, request):
    path = request.split(b" ")[1].decode("latin-1") if request.count(b" ") >= 2 else "/"
    number = int(path.rsplit("/", 1)[-1]) if path.rsplit("/", 1)[-1].isdigit() else 0
    block = ('<p><a href="/files/%d.zip">file</a> <a href="/endless/%d">next</a></p>\n'
             % (number, number + 1)).encode() + b" " * 65536
    connection.sendall(b"HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nConnection: close\r\n\r\n")
    try:
        while True:
            connection.sendall(block)
    except OSError:
        return


def hold(connection):
    with connection:
        request = connection.recv(65536)
        if mode == "endless":
            if b"/files/" in request:  # the files the endless pages link: not found, at once
                connection.sendall(b"HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n"
                                   b"Connection: close\r\n\r\n")
                return
            open(seen_file, "w").close()
            endless(connection, request)
            return
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
