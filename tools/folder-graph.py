#!/usr/bin/env python3
"""Prints which folders of src/ include which, and fails when the folders include each other
in a cycle: folders include downwards only."""
import collections
import os
import re
import sys

src = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src")
edges = collections.defaultdict(set)
for folder, _, files in os.walk(src):
    for name in files:
        if not name.endswith((".h", ".cpp")):
            continue
        path = os.path.join(folder, name)
        own = os.path.relpath(path, src).split(os.sep)[0]
        with open(path, errors="ignore") as text:
            for line in text:
                found = re.match(r'#include "([a-z]+)/', line)
                if found and found.group(1) != own:
                    edges[own].add(found.group(1))

for folder in sorted(edges):
    print(f"{folder} -> {', '.join(sorted(edges[folder]))}")


def cycle_from(start):
    stack = [(start, [start])]
    while stack:
        node, path = stack.pop()
        for nxt in edges.get(node, ()):
            if nxt == start:
                return path + [nxt]
            if nxt not in path:
                stack.append((nxt, path + [nxt]))
    return None


cycles = [c for c in (cycle_from(f) for f in sorted(edges)) if c]
for cycle in cycles:
    print("cycle: " + " -> ".join(cycle))
print("no cycles" if not cycles else f"{len(cycles)} cycles")
sys.exit(1 if cycles else 0)
