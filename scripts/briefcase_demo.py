#!/usr/bin/env python3
"""Serves the demo briefcase of data/briefcase-demo on 127.0.0.1 and scans it with vendil-cli.

usage: briefcase_demo.py PATH/TO/vendil-cli [--japanese] [--no-sign-in] [--serve-only]
                         [--generate FOLDERS FILES] [--measure] [extra search options]

The service's host names are pointed at the local server with --connect-to, so nothing
leaves the machine. The demo signs in with the demo account (through --sign-in, --id and
--password-stdin); vendil-cli runs from a copy in a temporary folder so that the stored
sign-in values stay out of the real settings file. --generate builds a briefcase of that
many folders and files instead (for the benchmark); --serve-only prints the port and serves
until interrupted. Every request is counted; the count is printed on stderr at the end, and
with --measure also the scan's wall time and the peak memory of the vendil-cli process.
"""
import http.server
import json
import os
import resource
import shutil
import subprocess
import sys
import tempfile
import threading
import time
import urllib.parse

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "briefcase-demo")

SITES = {
    "international": dict(
        host="briefcase.yahoo.com", login="login.yahoo.com", domain=".yahoo.com",
        title="<title>Yahoo! Briefcase", sign_in="Sign In", sign_out="Sign Out",
        last_modified="Last Modified", check_all="Check All", show_all="Show All",
        empty="This folder is currently empty.",
        not_found="The briefcase or file you are seeking does not exist.",
        signed_in="<title>Yahoo! Briefcase - Welcome</title>",
        login_title="<title>Sign in to Yahoo!</title>", encoding="utf-8"),
    "japanese": dict(
        host="briefcase.yahoo.co.jp", login="login.yahoo.co.jp", domain=".yahoo.co.jp",
        title="<title>Yahoo!ブリーフケース", sign_in="ログイン", sign_out="ログアウト",
        last_modified="最終変更日", check_all="すべてを選択", show_all="すべてを表示",
        empty="このフォルダには現在、何も入っていません。",
        not_found="お探しのブリーフケースやファイルはありません。",
        signed_in="<title>Yahoo!ブリーフケース - ようこそ</title>",
        login_title="<title>ログイン - Yahoo! JAPAN ID</title>", encoding="euc_jp"),
}
REDIRECT_HOST = "us.f1.yahoofs.com"
BROWSER_COOKIE = "B=demo-browser"
SESSION_COOKIE = "Y=demo-session"


def a(href, text):
    return '<a href="%s">%s</a>' % (href, text)


def folder_href(user, path):
    return "/bc/%s/lst?.dir=%s" % (user, path)


def file_href(user, path, name):
    return "http://%s/bc/%s/bc%s%s?bcDemo" % (REDIRECT_HOST, user, path.rstrip("/") + "/", name)


def parent_of(path):
    return "/" if path.rfind("/") == 0 else path[: path.rfind("/")]


class Service:
    def __init__(self, config):
        self.account = config["account"]
        self.page_size = config.get("page_size", 0)
        self.briefcases = {}
        for bc in config["briefcases"]:
            folders = {f["path"]: f for f in bc["folders"]}
            order = [f["path"] for f in bc["folders"]]
            self.briefcases[(bc["site"], bc["user"])] = (folders, order)
        self.requests = 0
        self.lock = threading.Lock()

    def login_page(self, site):
        t = SITES[site]
        return ("<html><head>%s</head><body>\n"
                '<form name="search" action="http://search.yahoo.com/search">'
                '<input type="hidden" name="fr" value="bc-top"><input type="text" name="p"></form>\n'
                '<form method="post" action="http://%s/config/login_verify" name="login_form">\n'
                '<input type="hidden" name=".tries" value="1">\n'
                '<input type="hidden" name=".src" value="bc">\n'
                'Yahoo! ID: <input type="text" name="login">\n'
                'Password: <input type="password" name="passwd">\n'
                "</form></body></html>\n") % (t["login_title"], t["login"])

    def folder_page(self, site, user, path, signed_in, show_all):
        t = SITES[site]
        entry = self.briefcases.get((site, user))
        if entry is None or path not in entry[0]:
            return "<html><head>%s</title></head><body>%s</body></html>" % (t["title"], t["not_found"])
        folders, order = entry
        folder = folders[path]
        html = "<html><head>%s - %s</title></head><body>\n" % (t["title"], user)
        html += a("http://www.yahoo.com/", "Yahoo!") + " | "
        html += (a("http://%s/config/logout" % t["login"], t["sign_out"]) if signed_in
                 else a("http://%s/config/login?.src=bc" % t["login"], t["sign_in"]))
        html += " | " + a(folder_href(user, "/"), "My Briefcase") + "\n"
        subfolders = [p for p in order if p not in ("/", path) and parent_of(p) == path]
        files = folder.get("files", [])
        if (folder.get("sign_in_only") and not signed_in) or (not subfolders and not files):
            return html + "<p>%s</p></body></html>\n" % t["empty"]
        name = user if path == "/" else path[path.rfind("/") + 1:]
        html += "<h1>Folder: <b>%s</b></h1>\n" % name
        if self.page_size and len(files) > self.page_size and not show_all:
            html += a(folder_href(user, path) + "&.view=a", t["show_all"]) + "\n"
            files = files[: self.page_size]
        html += "<table><tr><th>%s</th><th>%s</th></tr>\n" % (
            a(folder_href(user, path) + "&.sort=n", "Name"),
            a(folder_href(user, path) + "&.sort=d", t["last_modified"]))
        for sub in subfolders:
            href = folder_href(user, sub)
            html += "<tr><td>%s %s</td></tr>\n" % (
                a(href, '<img src="/i/folder.gif" alt="">'), a(href, "<b>%s</b>" % sub[sub.rfind("/") + 1:]))
        for f in files:
            href = file_href(user, path, f)
            html += "<tr><td>%s %s</td></tr>\n" % (a(href, '<img src="/i/file.gif" alt="">'), a(href, f))
        html += "</table>\n" + a(folder_href(user, path) + "&.check=all", t["check_all"]) + " "
        html += a("http://%s/M=upgrade/bc" % REDIRECT_HOST, "Upgrade") + "\n</body></html>\n"
        return html


def make_handler(service):
    class Handler(http.server.BaseHTTPRequestHandler):
        protocol_version = "HTTP/1.1"
        # Headers and body go out in two writes; without this each answer waits on the
        # client's delayed acknowledgement.
        disable_nagle_algorithm = True

        def log_message(self, format, *args):  # the scan's own output is what matters here
            pass

        def send_page(self, site, html, cookie=None):
            body = html.encode(SITES[site]["encoding"], "replace")
            self.send_response(200)
            self.send_header("Content-Type", "text/html")  # the Japanese site names no charset
            self.send_header("Content-Length", str(len(body)))
            if cookie:
                self.send_header("Set-Cookie", "%s; Domain=%s; Path=/" % (cookie, SITES[site]["domain"]))
            self.end_headers()
            self.wfile.write(body)

        def handle_any(self, body):
            with service.lock:
                service.requests += 1
            host = self.headers.get("Host", "").split(":")[0]
            url = urllib.parse.urlsplit(self.path)
            query = urllib.parse.parse_qs(url.query, keep_blank_values=True)
            cookies = self.headers.get("Cookie", "")
            for site, t in SITES.items():
                if host == t["login"]:
                    if url.path == "/config/login_verify":
                        form = urllib.parse.parse_qs(body or url.query, keep_blank_values=True)
                        ok = (BROWSER_COOKIE in cookies
                              and form.get("login", [""])[0] == service.account["id"]
                              and form.get("passwd", [""])[0] == service.account["password"])
                        if ok:
                            return self.send_page(site, "<html><head>%s</head></html>" % t["signed_in"],
                                                  SESSION_COOKIE)
                        return self.send_page(site, "<html><head>%s</head>Invalid ID or password.</html>"
                                              % t["login_title"])
                    return self.send_page(site, service.login_page(site), BROWSER_COOKIE)
                if host == t["host"]:
                    if url.path == "/":
                        return self.send_page(site, service.login_page(site), BROWSER_COOKIE)
                    parts = url.path.split("/")
                    if len(parts) < 3 or parts[1] != "bc":
                        return self.send_page(site, "<html><head><title>Elsewhere</title></head></html>")
                    path = query.get(".dir", ["/"])[0] if len(parts) > 3 and parts[3] == "lst" else "/"
                    return self.send_page(site, service.folder_page(
                        site, parts[2], path, SESSION_COOKIE in cookies,
                        query.get(".view", [""])[0] == "a"))
            self.send_response(404)
            self.send_header("Content-Length", "0")
            self.end_headers()

        def do_GET(self):
            self.handle_any("")

        def do_POST(self):
            length = int(self.headers.get("Content-Length", "0") or "0")
            self.handle_any(self.rfile.read(length).decode("utf-8", "replace"))

    return Handler


def generated(folders, files):
    """A briefcase of `folders` folders (14 subfolders each, breadth first) and `files` files."""
    paths = ["/"]
    i = 0
    while len(paths) < folders:
        parent = paths[i]
        for k in range(14):
            if len(paths) >= folders:
                break
            paths.append(parent.rstrip("/") + "/f%d" % (len(paths)))
        i += 1
    per, extra = divmod(files, folders)
    out, n = [], 0
    for index, p in enumerate(paths):
        count = per + (1 if index < extra else 0)
        out.append({"path": p, "files": ["file%05d.zip" % (n + j) for j in range(count)]})
        n += count
    return {"account": {"id": "demo", "password": "demo-pass"}, "page_size": 50,
            "briefcases": [{"site": "international", "user": "bench", "folders": out}]}


def main() -> int:
    args = sys.argv[1:]
    if not args:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    cli, args = args[0], args[1:]
    site, sign_in, serve_only, measure, config = "international", True, False, False, None
    while args and args[0] in ("--japanese", "--no-sign-in", "--serve-only", "--generate", "--measure"):
        flag = args.pop(0)
        if flag == "--measure":
            measure = True
        elif flag == "--japanese":
            site = "japanese"
        elif flag == "--no-sign-in":
            sign_in = False
        elif flag == "--serve-only":
            serve_only = True
        else:
            config = generated(int(args.pop(0)), int(args.pop(0)))
    if config is None:
        with open(os.path.join(ROOT, "briefcase.json"), encoding="utf-8") as f:
            config = json.load(f)
    service = Service(config)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), make_handler(service))
    port = server.server_address[1]
    thread = threading.Thread(target=server.serve_forever, daemon=True)
    thread.start()
    user = config["briefcases"][0]["user"] if site == "international" else "demo"
    url = "http://%s/bc/%s/" % (SITES[site]["host"], user)
    hosts = [t["host"] for t in SITES.values()] + [t["login"] for t in SITES.values()] + [REDIRECT_HOST]
    connect = []
    for h in hosts:
        connect += ["--connect-to", "%s:80:127.0.0.1:%d" % (h, port)]
    work = tempfile.mkdtemp(prefix="vendil-briefcase-demo-")
    try:
        if serve_only:
            print("serving on 127.0.0.1:%d (%s)" % (port, url), file=sys.stderr, flush=True)
            threading.Event().wait()
        copy = os.path.join(work, "vendil-cli")
        shutil.copy2(cli, copy)
        command = [copy, "search"] + connect
        stdin = subprocess.DEVNULL
        if sign_in:
            command += ["--sign-in", "--id", service.account["id"], "--password-stdin"]
            stdin = subprocess.PIPE
        command += ["--mask", "*.zip*"] + args + [url]
        print("scanning the demo briefcase at " + url, file=sys.stderr, flush=True)
        started = time.monotonic()
        proc = subprocess.Popen(command, stdin=stdin)
        if sign_in:
            proc.communicate((service.account["password"] + "\n").encode())
        status = proc.wait()
        elapsed = time.monotonic() - started
        print("requests served: %d" % service.requests, file=sys.stderr)
        if measure:
            peak_kb = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss
            print("scan time: %.3f s, peak memory of vendil-cli: %.1f MiB"
                  % (elapsed, peak_kb / 1024.0), file=sys.stderr)
        return status
    except KeyboardInterrupt:
        print("requests served: %d" % service.requests, file=sys.stderr)
        return 130
    finally:
        server.shutdown()
        server.server_close()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
