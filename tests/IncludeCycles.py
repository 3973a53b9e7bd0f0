#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Fails when the editor's files include each other in a circle.

A file pair (name.h with name.cpp) is one node; a node that includes another's header
depends on it. The document and its undo commands are one concept split in two files and
may name each other. Run: IncludeCycles.py <repo>"""
import os
import re
import sys

ALLOWED = {frozenset({"editor/app/DocCommands", "editor/app/KestruneDoc"})}


def graph(repo, folder):
    files = {}
    for top, _, names in os.walk(os.path.join(repo, folder)):
        for name in names:
            if name.endswith((".h", ".cpp")):
                path = os.path.join(top, name)
                with open(path, encoding="utf-8", errors="replace") as text:
                    files[os.path.relpath(path, repo)] = re.findall(r'#\s*include\s+"([^"]+)"', text.read())
    edges = {}
    for path, includes in files.items():
        node = os.path.splitext(path)[0]
        targets = edges.setdefault(node, set())
        for header in includes:
            target = os.path.join(folder, header)
            if target in files and os.path.splitext(target)[0] != node:
                targets.add(os.path.splitext(target)[0])
    return edges


def circles(edges):
    """The strongly connected parts of more than one node (Tarjan, without recursion)."""
    index, low, on_stack, stack, found, counter = {}, {}, set(), [], [], 0
    for start in edges:
        if start in index:
            continue
        work = [(start, iter(sorted(edges[start])))]
        index[start] = low[start] = counter
        counter += 1
        stack.append(start)
        on_stack.add(start)
        while work:
            node, children = work[-1]
            child = next(children, None)
            if child is not None:
                if child not in index:
                    index[child] = low[child] = counter
                    counter += 1
                    stack.append(child)
                    on_stack.add(child)
                    work.append((child, iter(sorted(edges.get(child, ())))))
                elif child in on_stack:
                    low[node] = min(low[node], index[child])
                continue
            work.pop()
            if work:
                low[work[-1][0]] = min(low[work[-1][0]], low[node])
            if low[node] == index[node]:
                part = set()
                while True:
                    member = stack.pop()
                    on_stack.discard(member)
                    part.add(member)
                    if member == node:
                        break
                if len(part) > 1:
                    found.append(frozenset(part))
    return found


def main():
    repo = sys.argv[1] if len(sys.argv) > 1 else "."
    bad = [part for part in circles(graph(repo, "editor")) if part not in ALLOWED]
    for part in bad:
        print("Files that include each other in a circle: " + ", ".join(sorted(part)))
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
