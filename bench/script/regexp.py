# A 2 MB page with 10,000 links; a regular expression takes every href out of it.
# In a function, as the other workloads, so CPython runs on locals.
import re


def main():
    parts = []
    for i in range(10000):
        parts.append("<p>" + " " * 140 + '<a href="http://example.com/files/file' + str(i)
                     + '.zip">File ' + str(i) + "</a></p>")
    page = "\n".join(parts)
    pattern = re.compile(r'<a\s+href="([^"]*)"', re.IGNORECASE)
    total = 0
    count = 0
    for m in pattern.finditer(page):
        count += 1
        total += len(m.group(1))
    print(len(page), count, total)


main()
