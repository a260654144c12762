#!/usr/bin/env python3
"""Fails on any #include against the layering of docs/ARCHITECTURE.md.

Subsystem folders may include only the folders below them; files outside a qt/ folder are the rules
library and include no Qt or CUPS header; nothing outside app/ includes app/.
"""
import pathlib
import re
import sys

ROOT = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".").resolve()

# What each subsystem may include besides itself. None: any file of that folder.
ALLOWED = {
    "app": {"print": None, "transfer": None, "printer": None, "widgets": None, "platform": None,
            "postcode": None, "history": None, "orders": None, "slip": None},
    "print": {"printer": None, "slip": None, "platform": None},
    # The transfer writes values into numeric fields, so it shares their text rules and nothing else.
    "transfer": {"widgets": {"widgets/KyNumText.h"}, "slip": None, "platform": None},
    "printer": {"platform": None},
    "widgets": {"platform": None},
    "slip": {"platform": None},
    "platform": {},
    "postcode": {"platform": None},
    "history": {"slip": None, "platform": None},
    # Order files reuse the transfer's address rules (the prefecture names).
    "orders": {"transfer": None, "slip": None, "platform": None},
}
QT_HEADER = re.compile(r"^\s*#\s*include\s*<(Q[A-Za-z]*|Qt[A-Za-z]*/[^>]*|cups/[^>]*)>")
LOCAL = re.compile(r'^\s*#\s*include\s*"([^"]+)"')


def check(path: pathlib.Path) -> list[str]:
    rel = path.relative_to(ROOT)
    folder = rel.parts[0]
    qt_side = "qt" in rel.parts[1:-1]
    problems = []
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        where = f"{rel}:{number}"
        if not qt_side and QT_HEADER.match(line):
            problems.append(f"{where}: a rule includes {line.strip()} (Qt and CUPS belong under qt/)")
        m = LOCAL.match(line)
        if not m or "/" not in m.group(1):
            continue
        target = m.group(1)
        target_folder = target.split("/")[0]
        if target_folder == folder:
            if not qt_side and "/qt/" in target:
                problems.append(f"{where}: a rule includes the Qt side {target}")
            continue
        allowed = ALLOWED[folder]
        if target_folder not in allowed:
            problems.append(f"{where}: {folder}/ may not include {target}")
        elif allowed[target_folder] is not None and target not in allowed[target_folder]:
            problems.append(f"{where}: {folder}/ may include only {sorted(allowed[target_folder])} of "
                            f"{target_folder}/, not {target}")
        elif not qt_side and "/qt/" in target:
            problems.append(f"{where}: a rule includes the Qt side {target}")
    return problems


def main() -> int:
    problems = []
    seen = 0
    for folder in ALLOWED:
        for path in sorted((ROOT / folder).rglob("*")):
            if path.suffix in (".h", ".cpp") and path.is_file():
                seen += 1
                problems += check(path)
    for p in problems:
        print(p)
    if seen == 0:
        print(f"no sources found under {ROOT}")
        return 1
    print(f"{seen} files checked, {len(problems)} against the layering")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
