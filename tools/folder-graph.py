#!/usr/bin/env python3
"""Prints which folders of src/ include which, and fails when the folders include each other
in a cycle: folders include downwards only. `--depth N` tells folders apart down to N levels
(`--depth 3`: host/app/calc, host/app/state, ... each a folder of its own); the default, 1,
takes the top folders of src/ only."""
import argparse
import collections
import os
import re
import sys

arguments = argparse.ArgumentParser(description=__doc__.splitlines()[0])
arguments.add_argument("--depth", type=int, default=1, help="folder levels told apart")
depth = arguments.parse_args().depth


def folder_of(path):
    """The folder a source path (relative to src/, with / between parts) counts in."""
    return "/".join(path.split("/")[:-1][:depth])


src = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src")
edges = collections.defaultdict(set)
for folder, _, files in os.walk(src):
    for name in files:
        if not name.endswith((".h", ".cpp")):
            continue
        path = os.path.join(folder, name)
        own = folder_of(os.path.relpath(path, src).replace(os.sep, "/"))
        with open(path, errors="ignore") as text:
            for line in text:
                found = re.match(r'#include "([a-z]+/[^"]*)"', line)
                if found and folder_of(found.group(1)) != own:
                    edges[own].add(folder_of(found.group(1)))

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
