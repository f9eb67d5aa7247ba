#!/usr/bin/env python3
"""Counts the #include "folder/..." lines of src/ by folder: which folder
includes which, the table docs/DESIGN.md keeps. Run from the repository:
    tools/architecture/folder_dependencies.py [src]"""
import collections
import os
import re
import sys

root = sys.argv[1] if len(sys.argv) > 1 else "src"
table = collections.defaultdict(collections.Counter)
for folder, _, names in os.walk(root):
    for name in names:
        if not name.endswith((".cpp", ".h")):
            continue
        path = os.path.join(folder, name)
        rel = os.path.relpath(path, root)
        here = rel.split("/")[0] if "/" in rel else rel
        with open(path, encoding="utf-8") as source:
            for line in source:
                match = re.match(r'#include "([^/"]+)/', line)
                if match and match.group(1) != here:
                    table[here][match.group(1)] += 1
print("| folder | includes from |")
print("|---|---|")
for here in sorted(table):
    cells = ", ".join(f"{there} ({count})" for there, count in sorted(table[here].items()))
    label = f"`{here}`" if here.endswith(".cpp") else f"`{here}/`"
    print(f"| {label} | {cells} |")
