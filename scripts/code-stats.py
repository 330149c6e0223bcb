#!/usr/bin/env python3
"""Prints the size of the code and of its tests, and the functions longer than the limit.

Code: every .cpp/.h outside tests/, bench/ and the build folders. A function is a body
whose braces stand alone at the start of a line, as the code's style writes them.
Exits 1 when a function of the code is longer than --limit lines (80 by default).
"""
import argparse
import pathlib
import sys

SKIP = {"build", "build-asan", "build-fuzz", "bench", ".git"}


def sources(root: pathlib.Path, under_tests: bool):
    for f in root.rglob("*"):
        if f.suffix not in (".cpp", ".h") or not f.is_file():
            continue
        parts = f.relative_to(root).parts
        if parts[0] in SKIP or parts[0].startswith("build"):
            continue
        if (parts[0] == "tests") == under_tests:
            yield f


def lines_of(files):
    return sum(len(f.read_text(errors="replace").splitlines()) for f in files)


def long_functions(files, limit):
    found = []
    for f in files:
        text = f.read_text(errors="replace").splitlines()
        start = None
        for i, line in enumerate(text):
            if line == "{" and i > 0:
                start = i
            elif line.startswith("}") and start is not None and not line.startswith("} //"):
                length = i - start + 2  # the signature line and both braces
                if length > limit:
                    found.append((length, f"{f}:{start}: {text[start - 1].strip()[:70]}"))
                start = None
    return sorted(found, reverse=True)


def main() -> int:
    parser = argparse.ArgumentParser()
    parser.add_argument("--limit", type=int, default=80)
    args = parser.parse_args()
    root = pathlib.Path(__file__).resolve().parent.parent
    code = list(sources(root, False))
    tests = list(sources(root, True))
    code_lines, test_lines = lines_of(code), lines_of(tests)
    print(f"code: {code_lines} lines in {len(code)} files; tests: {test_lines} lines in {len(tests)} files")
    print(f"tests / code = {test_lines / code_lines:.2f}")
    long = long_functions(code, args.limit)
    for length, where in long:
        print(f"  {length} lines: {where.replace(str(root) + '/', '')}")
    print(f"functions over {args.limit} lines: {len(long)}")
    return 1 if long else 0


if __name__ == "__main__":
    sys.exit(main())
