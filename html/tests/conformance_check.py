#!/usr/bin/env python3
"""Runs the html5lib tree-construction conformance runner against notara-html and fails when
the score drops below a pinned minimum (so a regression in the tree builder breaks the build).

usage: conformance_check.py RUNNER TOOL MINIMUM [--fragments]
"""
import re
import shlex
import subprocess
import sys


def main(argv):
    if len(argv) < 4:
        print(__doc__, file=sys.stderr)
        return 2
    runner, tool, minimum = argv[1], argv[2], int(argv[3])
    fragments = "--fragments" in argv[4:]
    tool_q = shlex.quote(tool)
    cmd = [sys.executable, runner, "--cmd", f"{tool_q} tree", "--show-failures", "10"]
    if fragments:
        cmd += ["--fragment-cmd", f"{tool_q} tree --fragment {{context}}"]
    proc = subprocess.run(cmd, capture_output=True, text=True)
    sys.stdout.write(proc.stdout)
    sys.stderr.write(proc.stderr)
    lines = proc.stdout.strip().splitlines()
    last = lines[-1] if lines else ""
    m = re.match(r"conformance: (\d+)/(\d+) in-scope passed, (\d+) out of scope, (\d+) crashed", last)
    if proc.returncode != 0 or not m:
        print(f"conformance runner failed (status {proc.returncode})", file=sys.stderr)
        return 1
    passed, crashed = int(m.group(1)), int(m.group(4))
    if crashed:
        print(f"{crashed} tests crashed or timed out", file=sys.stderr)
        return 1
    if passed < minimum:
        print(f"conformance dropped: {passed} passed, at least {minimum} expected", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
