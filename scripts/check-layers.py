#!/usr/bin/env python3
"""Checks that the program's folders include only downward.

The order, lowest first (the README's layout table states it too). A file may include
its own layer and any layer below; tools/ and tests/ are outside the order.
"""
import pathlib
import re
import sys

LAYERS = [
    ["util"],          # processes, files, text; no knowledge of the program
    ["util/ui"],       # Qt dialogs over util
    ["app"],           # message table, paths, settings, language, CPU meter
    ["media"],         # catalogue, job record, probe, source selection
    ["options"],       # option record, checks, fragments
    ["engine"],        # tool runner, commands, key frames, job driver
    ["player"],        # the player adapter
    ["controls"],      # skinned Qt widgets
    ["cli", "app/ui"], # the two front ends, side by side
]


def layer_of(path: str):
    best = None
    for rank, folders in enumerate(LAYERS):
        for folder in folders:
            if path == folder or path.startswith(folder + "/"):
                if best is None or len(folder) > len(best[1]):
                    best = (rank, folder)
    return best


def main() -> int:
    root = pathlib.Path(__file__).resolve().parent.parent
    include = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
    problems = []
    for file in sorted(root.glob("*/**/*")):
        if file.suffix not in (".h", ".cpp"):
            continue
        rel = file.relative_to(root).as_posix()
        own = layer_of(rel)
        if own is None:
            continue
        for target in include.findall(file.read_text(errors="replace")):
            theirs = layer_of(target)
            if theirs is None:
                continue
            if theirs[0] > own[0] or (theirs[0] == own[0] and theirs[1] != own[1]):
                problems.append(f"{rel}: includes {target} ({theirs[1]}/ is above {own[1]}/)")
    for p in problems:
        print(p)
    print(f"layers: {len(problems)} upward include(s)")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
