#!/usr/bin/env python3
"""Checks the include rule of src/: a folder includes only the folders it may use, libcurl
is included only in platform/, and no folder but gui/ includes a Qt header.

    check_layers.py SRC_DIR
"""
import pathlib
import re
import sys

# Each folder and the folders it may include (besides itself).
MAY_USE = {
    "platform": set(),
    "parse": {"platform"},
    "script": {"platform"},
    "settings": {"platform", "parse"},
    "list": {"platform", "parse"},
    "state": {"platform", "parse", "settings", "list"},
    "net": {"platform", "parse", "settings", "list", "state"},
    "crawl": {"platform", "parse", "script", "settings", "list", "state", "net"},
    "briefcase": {"platform", "parse", "settings", "list", "state", "net"},
    "newlinks": {"platform", "parse", "script", "settings", "list", "state", "net", "crawl",
                 "briefcase", "export"},
    "export": {"platform", "parse", "settings", "list"},
    "download": {"platform", "parse", "settings", "list", "export"},
}
CORE_BELOW_COMMANDS = set(MAY_USE)
MAY_USE["commands"] = CORE_BELOW_COMMANDS
MAY_USE["gui"] = CORE_BELOW_COMMANDS | {"commands"}
MAY_USE["cli"] = CORE_BELOW_COMMANDS | {"commands"}

INCLUDE = re.compile(r'^\s*#\s*include\s*[<"]([^">]+)[">]', re.M)


def main() -> int:
    src = pathlib.Path(sys.argv[1])
    problems = []
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".h", ".cpp", ".inc"):
            continue
        folder = path.relative_to(src).parts[0]
        if folder not in MAY_USE:
            problems.append(f"{path}: folder {folder}/ has no place in the layers")
            continue
        for target in INCLUDE.findall(path.read_text(encoding="utf-8", errors="replace")):
            top = target.split("/")[0]
            if target.startswith("curl/") and folder != "platform":
                problems.append(f"{path}: libcurl outside platform/ ({target})")
            elif re.match(r"Q[A-Z]|Qt", target) and folder != "gui":
                problems.append(f"{path}: a Qt header in the core ({target})")
            elif "/" in target and top in MAY_USE and top != folder and top not in MAY_USE[folder]:
                problems.append(f"{path}: {folder}/ may not include {target}")
    for p in problems:
        print(p)
    print(f"{len(problems)} include rule violations")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
