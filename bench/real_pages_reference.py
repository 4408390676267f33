#!/usr/bin/env python3
"""The reference crawl of bench/real_pages.sh: the link crawl's rules (breadth first to a
depth, links of A, FRAME, IFRAME, IMG and AREA tags, fragments dropped, the same server
and the start page's folder only, pages whose content type names text, a queue keyed
without regard to letter case that never holds the start URL) applied to links that the
standard library's HTML parser reads.  Prints every row URL, one a line, in list order.

    real_pages_reference.py START_URL DEPTH
"""
import html.parser
import re
import sys
import urllib.error
import urllib.parse
import urllib.request

URL_ATTRIBUTES = {"a": "href", "frame": "src", "iframe": "src", "img": "src", "area": "href"}
USER_AGENT = "vendil-reference (Python-urllib)"


class LinkReader(html.parser.HTMLParser):
    """The links of a page in document order, resolved as a browser resolves them."""

    def __init__(self, base):
        super().__init__(convert_charrefs=True)
        self.base = base
        self.links = []

    def handle_starttag(self, tag, attrs):
        values = {}
        for name, value in attrs:
            values.setdefault(name, value)  # the first of a repeated attribute counts
        if tag == "base" and values.get("href"):
            self.base = urllib.parse.urljoin(self.base, clean(values["href"]))
            return
        name = URL_ATTRIBUTES.get(tag)
        value = clean(values.get(name) or "") if name else ""
        if value:
            url, _ = urllib.parse.urldefrag(urllib.parse.urljoin(self.base, value))
            self.links.append(url)


def clean(value):
    # As browsers read a URL: white space around it goes, TAB, CR and LF inside go, and a
    # blank is sent as %20.
    value = value.strip(" \t\r\n\f")
    return re.sub(r"[\t\r\n]", "", value).replace(" ", "%20")


def host_of(url):
    """The host as written: without user, password or port, letter case kept."""
    match = re.match(r"^[A-Za-z][A-Za-z0-9+.-]*://([^/?#]*)", url)
    if not match:
        return ""
    host = match.group(1).rsplit("@", 1)[-1]
    if host.startswith("["):
        return host[: host.find("]") + 1] if "]" in host else ""
    return host.split(":", 1)[0]


def directory_of(url):
    """The path with its query up to its last "/"."""
    parts = urllib.parse.urlsplit(url)
    path = (parts.path or "/") + ("?" + parts.query if "?" in url.split("#")[0] else "")
    return path[: path.rfind("/") + 1] or "/"


def charset_of(content_type, body):
    match = re.search(r"charset\s*=\s*[\"']?([^\s;\"'>/,]+)", content_type, re.I)
    if not match:
        head = body[:4096].decode("ascii", "replace")
        for meta in re.finditer(r"<meta[^>]*>", head, re.I):
            match = re.search(r"charset\s*=\s*[\"']?([^\s;\"'>/,]+)", meta.group(0), re.I)
            if match:
                break
    name = match.group(1).lower() if match else "cp932"
    if name.startswith(("utf-16", "utf-32")):
        name = "utf-8"
    try:
        "".encode(name)
    except LookupError:
        name = "cp932"
    return name


def fetch(url, referer):
    """(final URL, text) of a page that is read, or None."""
    request = urllib.request.Request(url, headers={"Referer": referer, "User-Agent": USER_AGENT})
    try:
        response = urllib.request.urlopen(request, timeout=30)
    except urllib.error.HTTPError as error:
        response = error  # an error page is a page
    except (urllib.error.URLError, ValueError, OSError, UnicodeError):
        return None
    with response:
        content_type = response.headers.get("Content-Type", "")
        if "text" not in content_type.lower():
            return None
        body = response.read()
        final = response.geturl()
    return final, body.decode(charset_of(content_type, body), "replace")


def crawl(start, depth):
    rows = {}
    queue = []
    keys = set()
    page_url, level, index = start, 0, 0
    while True:
        page = fetch(page_url, page_url)
        if page is not None:
            final, text = page
            reader = LinkReader(final)
            reader.feed(text)
            reader.close()
            base_host, base_dir = host_of(final), directory_of(final)
            for url in reader.links:
                follow = host_of(url) == base_host and directory_of(url).startswith(base_dir)
                if level < depth and follow and url.casefold() not in keys:
                    keys.add(url.casefold())
                    queue.append((url, level))
                rows.setdefault(url, len(rows))
        index += 1
        if index > len(queue) or queue[index - 1][1] >= depth:
            return list(rows)
        page_url, level = queue[index - 1][0], queue[index - 1][1] + 1


def main():
    start, depth = sys.argv[1], int(sys.argv[2])
    for url in crawl(start, depth):
        print(url)


if __name__ == "__main__":
    main()
