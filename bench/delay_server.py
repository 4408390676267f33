#!/usr/bin/env python3
"""A static HTTP/1.1 server on 127.0.0.1 that answers every request after a fixed delay, as
a real round trip would take, without being the bottleneck itself (asyncio: any number of
connections wait at once).

    bench/delay_server.py ROOT DELAY_MS PORT_FILE

Writes its port to PORT_FILE once listening. GET /__stats answers "REQUESTS MOST": the
requests answered and the most in flight at once since the last such request.
"""
import asyncio
import os
import signal
import sys

root, delay = sys.argv[1], int(sys.argv[2]) / 1000.0
types = {".html": "text/html", ".zip": "application/zip"}
stats = {"requests": 0, "in_flight": 0, "most": 0}


async def serve(reader, writer):
    try:
        while True:
            head = await reader.readuntil(b"\r\n\r\n")
            lines = head.decode("latin-1").split("\r\n")
            method, target = lines[0].split(" ")[:2]
            path = target.split("?")[0].split("#")[0]
            close = any(l.lower() == "connection: close" for l in lines[1:])
            if path == "/__stats":  # the counts since the last reset, for the benchmark
                body = ("%d %d" % (stats["requests"], stats["most"])).encode()
                stats.update(requests=0, most=0)
                writer.write(b"HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n"
                             b"Content-Length: %d\r\nConnection: close\r\n\r\n%s" % (len(body), body))
                await writer.drain()
                break
            stats["requests"] += 1
            stats["in_flight"] += 1
            stats["most"] = max(stats["most"], stats["in_flight"])
            await asyncio.sleep(delay)
            stats["in_flight"] -= 1
            file = os.path.normpath(os.path.join(root, path.lstrip("/")))
            if file.startswith(root) and os.path.isfile(file):
                with open(file, "rb") as f:
                    body = f.read()
                status = "200 OK"
                ctype = types.get(os.path.splitext(file)[1], "application/octet-stream")
            else:
                body, status, ctype = b"<html>not found</html>", "404 Not Found", "text/html"
            writer.write(("HTTP/1.1 %s\r\nContent-Type: %s\r\nContent-Length: %d\r\n%s\r\n"
                          % (status, ctype, len(body), "Connection: close\r\n" if close else "")
                          ).encode("latin-1"))
            if method != "HEAD":
                writer.write(body)
            await writer.drain()
            if close:
                break
    except (asyncio.IncompleteReadError, ConnectionError, ValueError):
        pass
    writer.close()


async def main():
    server = await asyncio.start_server(serve, "127.0.0.1", 0, backlog=512)
    with open(sys.argv[3] + ".tmp", "w") as f:
        f.write(str(server.sockets[0].getsockname()[1]))
    os.rename(sys.argv[3] + ".tmp", sys.argv[3])
    stop = asyncio.Event()
    asyncio.get_running_loop().add_signal_handler(signal.SIGTERM, stop.set)
    async with server:
        await stop.wait()


root = os.path.abspath(root)
asyncio.run(main())
