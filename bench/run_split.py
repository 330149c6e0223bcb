#!/usr/bin/env python3
"""Runs one of the system's command lines directly: quotes group and are removed, blanks
separate; the program is started with an argument vector, never through a shell.
Prints the wall time in seconds."""
import subprocess
import sys
import time


def split(line):
    args, cur, quoted, started = [], [], False, False
    for c in line:
        if c == '"':
            quoted, started = not quoted, True
        elif c in ' \t' and not quoted:
            if started or cur:
                args.append(''.join(cur))
            cur, started = [], False
        else:
            cur.append(c)
    if started or cur:
        args.append(''.join(cur))
    return args


argv = split(sys.argv[1])
t0 = time.monotonic()
subprocess.run(argv, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)
print(f"{time.monotonic() - t0:.3f}")
