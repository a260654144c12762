#!/usr/bin/env python3
"""Fails on any #include against the layering table of docs/ARCHITECTURE.md.

The table under "Dependencies point one way" names, for each folder, what it may include besides itself:
whole folders (`printer/`) or single files (`widgets/KyNumText.h`). A file belongs to the longest row
that contains it. A row for a folder inside a top folder (`app/qt/form/`) may also include what the top
folder's row may and the files directly in the top folder. Files outside a qt/ folder are rules and
include no Qt or CUPS header; nothing outside app/ includes app/.

The main window's members are defined only in app/qt/form/, and the table under "The main window"
lists every file that defines them.
"""
import pathlib
import re
import sys

ROOT = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".").resolve()
DOCS = pathlib.Path(sys.argv[2]) if len(sys.argv) > 2 else ROOT / "docs" / "ARCHITECTURE.md"

QT_HEADER = re.compile(r"^\s*#\s*include\s*<(Q[A-Za-z]*|Qt[A-Za-z]*/[^>]*|cups/[^>]*)>")
LOCAL = re.compile(r'^\s*#\s*include\s*"([^"]+)"')
ROW = re.compile(r"^\|\s*`([^`]+/)`\s*\|(.*)\|\s*$")
NAME = re.compile(r"`([^`]+)`")


def read_table(text: str) -> dict[str, set[str]]:
    """The rows of the table that follows the "Dependencies point one way" heading."""
    lines = text.splitlines()
    start = next((i for i, l in enumerate(lines) if l.startswith("#") and "Dependencies point one way" in l), None)
    if start is None:
        raise SystemExit(f"{DOCS}: no heading 'Dependencies point one way'")
    table: dict[str, set[str]] = {}
    in_table = False
    for line in lines[start + 1:]:
        if line.startswith("|"):
            in_table = True
            m = ROW.match(line)
            if m:
                cell = m.group(2).strip()
                # "nothing of ours", "nothing of `app/qt/`": the row names no folder to include
                table[m.group(1)] = set() if cell.startswith("nothing") else set(NAME.findall(cell))
        elif in_table:
            break
    if not table:
        raise SystemExit(f"{DOCS}: the layering table has no rows")
    return table


def owner(path: str, rows) -> str | None:
    """The longest row that contains `path`."""
    best = None
    for row in rows:
        if path.startswith(row) and (best is None or len(row) > len(best)):
            best = row
    return best


def allowed(row: str, table) -> set[str]:
    """What files of `row` may include: its own folder, its list and, inside a top folder, the top
    folder's list and the top folder's own files (written as "top/*")."""
    names = {row} | table[row]
    top = row.split("/")[0] + "/"
    if top != row and top in table:
        names |= table[top] | {top + "*"}
    return names


def permits(names: set[str], target: str) -> bool:
    for n in names:
        if target == n or (n.endswith("/") and target.startswith(n)):
            return True
        if n.endswith("/*") and target.startswith(n[:-1]) and "/" not in target[len(n) - 1:]:
            return True
    return False


def check(path: pathlib.Path, table) -> list[str]:
    rel = path.relative_to(ROOT).as_posix()
    row = owner(rel, table)
    qt_side = "/qt/" in "/" + rel
    may = allowed(row, table)
    problems = []
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        where = f"{rel}:{number}"
        if not qt_side and QT_HEADER.match(line):
            problems.append(f"{where}: a rule includes {line.strip()} (Qt and CUPS belong under qt/)")
        m = LOCAL.match(line)
        if not m or "/" not in m.group(1):
            continue
        target = m.group(1)
        if owner(target, table) is None:
            continue  # not one of ours (a generated or a third-party header)
        if not permits(may, target):
            problems.append(f"{where}: {row} may not include {target} (see the table in {DOCS.name})")
        elif not qt_side and ("/qt/" in "/" + target):
            problems.append(f"{where}: a rule includes the Qt side {target}")
    return problems


def circles(table) -> list[str]:
    """The table itself must read top-down: no folder reaches itself through the others."""
    edges = {row: {owner(n, table) for n in allowed(row, table) if owner(n, table) not in (None, row)}
             for row in table}
    found = []
    state: dict[str, int] = {}

    def visit(row, path):
        state[row] = 1
        for nxt in sorted(edges[row]):
            if state.get(nxt) == 1:
                found.append(" -> ".join(path[path.index(nxt):] + [nxt]))
            elif nxt not in state:
                visit(nxt, path + [nxt])
        state[row] = 2

    for row in sorted(table):
        if row not in state:
            visit(row, [row])
    return [f"{DOCS.name}: the layering has a circle: {c}" for c in found]


FORM = "app/qt/form/"
MEMBER = re.compile(r"^[^/#]*\bTForm_Main::~?\w+\(", re.M)


def form_files(text: str) -> set[str]:
    """The files the table under "The main window" names."""
    lines = text.splitlines()
    start = next((i for i, l in enumerate(lines) if l.startswith("#") and l.strip("# ") == "The main window"), None)
    if start is None:
        raise SystemExit(f"{DOCS}: no heading 'The main window'")
    names, in_table = set(), False
    for line in lines[start + 1:]:
        if line.startswith("|"):
            in_table = True
            m = re.match(r"^\|\s*`([^`]+\.cpp)`", line)
            if m:
                names.add(m.group(1))
        elif in_table:
            break
    return names


def members_where_listed(text: str) -> list[str]:
    listed = form_files(text)
    problems = []
    for path in sorted((ROOT / "app").rglob("*.cpp")):
        rel = path.relative_to(ROOT).as_posix()
        if not MEMBER.search(path.read_text(encoding="utf-8")):
            continue
        if not rel.startswith(FORM):
            problems.append(f"{rel}: defines members of TForm_Main outside {FORM}")
        elif path.name not in listed:
            problems.append(f"{rel}: defines members of TForm_Main but the main window's table in {DOCS.name} "
                            "does not list it")
    return problems


def main() -> int:
    text = DOCS.read_text(encoding="utf-8")
    table = read_table(text)
    problems = circles(table) + members_where_listed(text)
    seen = 0
    for top in sorted({row.split("/")[0] for row in table}):
        for path in sorted((ROOT / top).rglob("*")):
            if path.suffix in (".h", ".cpp") and path.is_file():
                seen += 1
                problems += check(path, table)
    for p in problems:
        print(p)
    if seen == 0:
        print(f"no sources found under {ROOT}")
        return 1
    print(f"{seen} files checked against {len(table)} rows, {len(problems)} against the layering")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
