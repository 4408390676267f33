#!/usr/bin/env python3
"""Writes the generated benchmark site (about 2,000 pages, depth 3, about 20 links a page)
and the list of its pages.

    bench/make_site.py SITE_DIR URLS_FILE

Level 0 has 13 children, level 1 pages 13 each, level 2 pages 11 each; every page up to
level 2 fills its 20 links with links to pages already linked (duplicates the crawlers must
drop); level-3 pages link 20 archives that no crawler fetches at depth 3.
"""
import os
import sys

root, urls_file = sys.argv[1], sys.argv[2]
os.makedirs(root)
fanout = [13, 13, 11]
levels = [["index.html"]]
children = {}
n = 0
for depth, k in enumerate(fanout):
    nxt = []
    for page in levels[depth]:
        kids = []
        for _ in range(k):
            n += 1
            kids.append("p%05d.html" % n)
        children[page] = kids
        nxt += kids
    levels.append(nxt)
pages = [p for level in levels for p in level]
for depth, level in enumerate(levels):
    for i, page in enumerate(level):
        if depth < 3:
            links = list(children[page])
            j = 0
            while len(links) < 20:
                links.append(level[(i + j + 1) % len(level)] if len(level) > 1 else "index.html")
                j += 1
        else:
            links = ["files/%s-%02d.zip" % (page[:-5], j) for j in range(20)]
        body = "".join('<li><a href="%s">link %d</a></li>\n' % (l, j) for j, l in enumerate(links))
        with open(os.path.join(root, page), "w") as f:
            f.write("<html><head><title>%s</title></head><body><ul>\n%s</ul></body></html>\n"
                    % (page, body))
with open(urls_file, "w") as f:
    for p in pages:
        f.write(p + "\n")
print("site: %d pages" % len(pages), file=sys.stderr)
