#!/usr/bin/env python3
"""Fails when source units include each other in a cycle. A unit is a header and
its source file (app/mainframe.h with app/mainframe*.cpp); a cycle means two
classes cannot be understood, built or tested one without the other.
    usage: check-cycles.py SRC_DIR"""
import pathlib
import re
import sys

root = pathlib.Path(sys.argv[1])
include = re.compile(r'^\s*#\s*include\s*"([^"]+)"', re.M)


def unit(path):
    # app/mainframecalculate.cpp belongs to app/mainframe: the longest header stem
    # that starts its name in the same folder.
    stem = path.with_suffix("").relative_to(root).as_posix()
    folder = path.parent
    stems = sorted((h.with_suffix("").relative_to(root).as_posix() for h in folder.glob("*.h")),
                   key=len, reverse=True)
    for candidate in stems:
        if stem.startswith(candidate):
            return candidate
    return stem


edges = {}
for path in list(root.rglob("*.h")) + list(root.rglob("*.cpp")):
    source = unit(path)
    for name in include.findall(path.read_text(encoding="utf-8", errors="replace")):
        target = pathlib.Path(name).with_suffix("").as_posix()
        if target != source and (root / name).exists():
            edges.setdefault(source, set()).add(target)

cycles = []
state = {}


def visit(node, trail):
    state[node] = "open"
    for target in sorted(edges.get(node, ())):
        if state.get(target) == "open":
            cycles.append(trail[trail.index(target):] + [target])
        elif target not in state:
            visit(target, trail + [target])
    state[node] = "done"


for node in sorted(edges):
    if node not in state:
        visit(node, [node])
for cycle in cycles:
    print("include cycle: " + " -> ".join(cycle))
print(f"{len(cycles)} include cycles")
sys.exit(1 if cycles else 0)
