#!/usr/bin/env python3
"""Fails when two paths of the source tree differ only in letter case: a checkout on a
case-insensitive file system (Windows, macOS) would keep only one of them."""
import collections
import os
import subprocess
import sys

root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")


def tracked_paths():
    try:
        listed = subprocess.run(["git", "-C", root, "ls-files", "-z"], capture_output=True,
                                check=True).stdout.decode("utf-8", "surrogateescape")
        return [p for p in listed.split("\0") if p]
    except (OSError, subprocess.CalledProcessError):
        # Not a git checkout (a source archive): every file below the root but build folders.
        paths = []
        for folder, dirs, files in os.walk(root):
            dirs[:] = [d for d in dirs if not d.startswith((".git", "build"))]
            paths += [os.path.relpath(os.path.join(folder, f), root) for f in files]
        return paths


def clashes(paths):
    """Groups of paths, files or the folders above them, that only letter case tells apart."""
    names = set()
    for path in paths:
        parts = path.replace(os.sep, "/").split("/")
        names.update("/".join(parts[:i]) for i in range(1, len(parts) + 1))
    groups = collections.defaultdict(set)
    for name in names:
        groups[name.casefold()].add(name)
    return sorted(sorted(g) for g in groups.values() if len(g) > 1)


found = clashes(tracked_paths())
for group in found:
    print("differ only in letter case: " + ", ".join(group))
sys.exit(1 if found else 0)
