#!/usr/bin/env python3
"""Checks the pages of the user guide and the start page.

usage: check_help.py HELP_FOLDER

Every .html file of the folder must be UTF-8 with a charset declaration, a title and no
script; every element must be closed in order (void elements excepted); ids must be
unique; every internal href or src must name an existing file, and a fragment must name
an id (or <a name>) of the page it points to; Japanese text must not be wrapped between
two characters (the break would show as a blank). A <pre data-source="PATH"> must show the
file at PATH exactly, so an example in the guide cannot drift from the file it documents.
The checker first proves on small broken pages that it finds each of these faults.
"""
import html.parser
import os
import re
import sys
import tempfile
import urllib.parse

VOID = {"area", "base", "br", "col", "embed", "hr", "img", "input", "link", "meta", "param",
        "source", "track", "wbr"}
EXTERNAL = re.compile(r"^[a-zA-Z][a-zA-Z0-9+.-]*:")


class Page(html.parser.HTMLParser):
    def __init__(self, name):
        super().__init__(convert_charrefs=True)
        self.name = name
        self.errors = []
        self.stack = []  # (tag, line) of the open elements
        self.ids = set()
        self.refs = []  # (line, attribute, value)
        self.sources = []  # (line, path, text shown)
        self.source = None  # [line, path, text] of the open <pre data-source>
        self.has_title = False
        self.has_charset = False

    def error(self, message, line=None):
        self.errors.append("%s:%d: %s" % (self.name, line or self.getpos()[0], message))

    def attributes(self, tag, attrs):
        line = self.getpos()[0]
        for key, value in attrs:
            if key.startswith("on"):
                self.error("event handler attribute %s (no script in the guide)" % key)
            if key == "id" or (tag == "a" and key == "name"):
                if value in self.ids:
                    self.error("duplicate id %r" % value)
                self.ids.add(value)
            if key in ("href", "src"):
                self.refs.append((line, key, value or ""))
        values = dict(attrs)
        if tag == "meta" and (values.get("charset", "").lower() == "utf-8" or
                              "charset=utf-8" in values.get("content", "").lower()):
            self.has_charset = True
        if tag == "pre" and "data-source" in values:
            self.source = [line, values["data-source"], ""]

    def handle_starttag(self, tag, attrs):
        if tag == "script":
            self.error("<script> element (no script in the guide)")
        if tag == "title":
            self.has_title = True
        self.attributes(tag, attrs)
        if tag not in VOID:
            self.stack.append((tag, self.getpos()[0]))

    def handle_startendtag(self, tag, attrs):
        self.attributes(tag, attrs)
        if tag not in VOID:
            self.error("<%s/> does not close a non-void element in HTML" % tag)
            self.stack.append((tag, self.getpos()[0]))

    def handle_endtag(self, tag):
        if tag in VOID:
            self.error("end tag </%s> of a void element" % tag)
            return
        if not self.stack:
            self.error("</%s> with no open element" % tag)
            return
        open_tag, line = self.stack[-1]
        if open_tag == tag:
            self.stack.pop()
            if tag == "pre" and self.source:
                self.sources.append(tuple(self.source))
                self.source = None
            return
        self.error("</%s> closes <%s> opened on line %d" % (tag, open_tag, line))
        # Recover as a browser would: close up to the matching element when there is one.
        if any(t == tag for t, _ in self.stack):
            while self.stack and self.stack.pop()[0] != tag:
                pass

    def handle_data(self, data):
        if self.source:
            self.source[2] += data

    def finish(self):
        self.close()
        for tag, line in self.stack:
            self.error("<%s> is never closed" % tag, line)
        if not self.has_title:
            self.error("no <title>", 1)
        if not self.has_charset:
            self.error('no <meta charset="utf-8">', 1)


def read_text_file(path):
    """A documented file as text: UTF-8, else CP932 (scripts are kept either way)."""
    with open(path, "rb") as f:
        data = f.read()
    try:
        text = data.decode("utf-8")
    except UnicodeDecodeError:
        text = data.decode("cp932")
    return text.replace("\r\n", "\n")


# A line break between two Japanese characters shows as a stray blank in most browsers and
# in Qt's text view; the source must not wrap a Japanese sentence there (<pre> aside).
CJK_BREAK = re.compile(r"[^\x00-\x7f]\n[ \t]*[^\x00-\x7f]")


def stray_breaks(name, path):
    with open(path, encoding="utf-8") as f:
        text = f.read()
    errors = []
    for part in re.split(r"(<pre[\s\S]*?</pre>)", text)[0::2]:
        for match in CJK_BREAK.finditer(part):
            line = text[:text.find(part) + match.start()].count("\n") + 1
            errors.append("%s:%d: line break inside Japanese text (shows as a blank)" % (name, line))
    return errors


def check_folder(folder):
    errors = []
    pages = {}
    for name in sorted(os.listdir(folder)):
        if not name.endswith(".html"):
            continue
        path = os.path.join(folder, name)
        page = Page(name)
        try:
            with open(path, encoding="utf-8") as f:
                page.feed(f.read())
        except UnicodeDecodeError as e:
            errors.append("%s: not UTF-8 (%s)" % (name, e))
            continue
        page.finish()
        errors += page.errors
        errors += stray_breaks(name, path)
        pages[os.path.realpath(path)] = page
    if not pages:
        errors.append("%s: no .html pages" % folder)

    def ids_of(target):
        if target not in pages:
            page = Page(os.path.basename(target))
            with open(target, encoding="utf-8", errors="replace") as f:
                page.feed(f.read())
            page.close()
            pages[target] = page
        return pages[target].ids

    for path, page in list(pages.items()):
        for line, key, value in page.refs:
            where = "%s:%d: %s=%r" % (page.name, line, key, value)
            if EXTERNAL.match(value):
                continue
            target, _, fragment = value.partition("#")
            target = urllib.parse.unquote(target)
            if target.startswith("/"):
                errors.append(where + " is an absolute path (breaks when opened as a file)")
                continue
            target = os.path.realpath(os.path.join(os.path.dirname(path), target)) \
                if target else path
            if not os.path.isfile(target):
                errors.append(where + " names no file")
                continue
            if fragment:
                if not target.endswith(".html"):
                    errors.append(where + " has a fragment on a file that is no page")
                elif urllib.parse.unquote(fragment) not in ids_of(target):
                    errors.append(where + " names no id of " + os.path.basename(target))
        for line, source, shown in page.sources:
            where = "%s:%d: <pre data-source=%r>" % (page.name, line, source)
            file = os.path.join(os.path.dirname(path), source)
            if not os.path.isfile(file):
                errors.append(where + " names no file")
            elif shown.strip("\n") != read_text_file(file).strip("\n"):
                errors.append(where + " differs from the file")
    return errors


SELF_TESTS = {
    # name: (pages, a text every error list must hold)
    "good": ({"a.html": '<p id="x"><a href="b.html#y">b</a> <a href="#x">x</a></p>'
                        "<pre>日本語の\n文</pre>",
              "b.html": '<h1><a name="y">y</a></h1><img src="a.html" alt="">'}, None),
    "misnested": ({"a.html": "<div><p>x</div>"}, "</div> closes <p>"),
    "unclosed": ({"a.html": "<ul><li>x</ul>"}, "</ul> closes <li>"),
    "unclosed table": ({"a.html": "<table><tr><td>x</td></tr>"}, "closes <table>"),
    "never closed": ({"a.html": "<!DOCTYPE html><html><head><meta charset=utf-8><title>t"
                                "</title></head><body><div>"}, "<div> is never closed"),
    "no charset": ({"a.html": "<!DOCTYPE html><html><head><title>t</title></head></html>"},
                   "no <meta charset"),
    "missing anchor": ({"a.html": '<a href="#nowhere">x</a>'}, "names no id of a.html"),
    "anchor elsewhere": ({"a.html": '<a href="b.html#z">x</a>', "b.html": "<p>b</p>"},
                         "names no id of b.html"),
    "missing file": ({"a.html": '<a href="gone.html">x</a>'}, "names no file"),
    "missing image": ({"a.html": '<img src="gone.png" alt="">'}, "names no file"),
    "duplicate id": ({"a.html": '<p id="d">1</p><p id="d">2</p>'}, "duplicate id"),
    "script": ({"a.html": "<script>x()</script>"}, "<script> element"),
    "handler": ({"a.html": '<p onclick="x()">p</p>'}, "event handler"),
    "stray break": ({"a.html": "<p>日本語の\n文</p><pre>日本語の\n文</pre>"}, "line break inside"),
    "source drift": ({"a.html": '<pre data-source="s.vbs">A\n</pre>', "s.vbs": "B\r\n"},
                     "differs from the file"),
}


def self_test():
    head = '<!DOCTYPE html><html lang="ja"><head><meta charset="utf-8"><title>t</title>' \
           '</head><body>'
    failures = []
    for name, (files, expected) in SELF_TESTS.items():
        with tempfile.TemporaryDirectory() as folder:
            for file, body in files.items():
                text = body
                if file.endswith(".html") and not body.startswith("<!DOCTYPE"):
                    text = head + body + "</body></html>"
                with open(os.path.join(folder, file), "w", encoding="utf-8", newline="") as f:
                    f.write(text)
            errors = check_folder(folder)
        if expected is None and errors:
            failures.append("self-test %r: unexpected %s" % (name, errors))
        if expected is not None and not any(expected in e for e in errors):
            failures.append("self-test %r: missed %r (got %s)" % (name, expected, errors))
    return failures


def main():
    if len(sys.argv) != 2:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    failures = self_test()
    if failures:
        print("\n".join(failures), file=sys.stderr)
        return 1
    errors = check_folder(sys.argv[1])
    if errors:
        print("\n".join(errors), file=sys.stderr)
        return 1
    print("help pages OK: %s" % sys.argv[1])
    return 0


if __name__ == "__main__":
    sys.exit(main())
