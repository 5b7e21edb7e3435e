#!/usr/bin/env python3
"""Checks notara-html's command line: exit statuses, messages and the output forms that the
conformance suite does not pin down.

usage: tool_check.py NOTARA_HTML
"""
import re
import os
import subprocess
import sys
import tempfile

TOOL = sys.argv[1] if len(sys.argv) > 1 else "notara-html"
failures = []


def run(args, stdin=b""):
    p = subprocess.run([TOOL, *args], input=stdin, capture_output=True, timeout=60)
    return p.returncode, p.stdout.decode("utf-8"), p.stderr.decode("utf-8")


def check(name, cond, detail=""):
    if not cond:
        failures.append(f"{name}: {detail}")


# Exit statuses: 2 for bad usage, 1 for unreadable input, each with a message on stderr.
for args in ([], ["nosuch"], ["tree", "--bogus"], ["tree", "a", "b"], ["errors", "--max", "0"],
             ["parse", "--repeat", "x"], ["tree", "--fragment"], ["html", "--pretty", "--compact"]):
    code, out, err = run(args)
    check(f"usage {args}", code == 2 and err.strip() and not out, f"status {code}, stderr {err!r}")
for args in (["tree", "/nonexistent/file.html"], ["text", "/"]):
    code, out, err = run(args)
    check(f"unreadable {args}", code == 1 and "cannot read" in err, f"status {code}, stderr {err!r}")

# Tree dump: sorted attributes, merged text, comment and doctype forms, raw (unescaped) data.
code, out, _ = run(["tree"], b'<!DOCTYPE html SYSTEM "s"><p b=2 a="&lt;1&quot;">x<!---->y</p><p>a&amp;<b></b></p>')
expected = """| <!DOCTYPE html "" "s">
| <html>
|   <head>
|   <body>
|     <p>
|       a="<1""
|       b="2"
|       "x"
|       <!--  -->
|       "y"
|     <p>
|       "a&"
|       <b>
"""
check("tree dump", code == 0 and out == expected, repr(out))
code, out, _ = run(["tree", "--fragment", "tr"], b"<td>x</td>")
check("fragment dump", code == 0 and out == '| <td>\n|   "x"\n', repr(out))

# Text, HTML, errors and timing, from a file.
with tempfile.NamedTemporaryFile("wb", suffix=".html", delete=False) as f:
    f.write(b"<title>T</title><p>One  <b>two</b></p></div>")
    path = f.name
try:
    code, out, _ = run(["text", path])
    check("text", code == 0 and out == "One two\n", repr(out))
    code, out, _ = run(["html", "--compact", path])
    check("html", code == 0 and out == "<html><head><title>T</title></head><body><p>One  <b>two</b></p></body></html>\n",
          repr(out))
    code, out, _ = run(["errors", path])
    check("errors", code == 0 and out == "44: Unexpected token [EndTag] when in state [InBody]\n", repr(out))
    code, out, err = run(["parse", "--repeat", "3", "--timing", path])
    timing = re.fullmatch(r"parse: \d+ bytes, 3 runs, median ([0-9.]+) ms, [0-9.]+ MB/s "
                          r"\(build ([0-9.]+) ms, free ([0-9.]+) ms\)\n", err)
    check("timing", code == 0 and out == "" and timing is not None, repr(err))
    code, out, err = run(["parse", path])
    check("parse quiet", code == 0 and out == "" and err == "", repr(out + err))
    code, out, _ = run(["select", "b", path])
    check("select", code == 0 and out == "html > body > p > b\ttwo\n", repr(out))
    code, out, _ = run(["select", "--html", "b", path])
    check("select html", code == 0 and out == "<b>two</b>\n", repr(out))
    code, out, _ = run(["select", "--count", "p,b", path])
    check("select count", code == 0 and out == "2\n", repr(out))
    code, out, err = run(["select", "p[", path])
    check("select bad query", code == 2 and out == "" and err.strip(), f"status {code}, stderr {err!r}")
finally:
    os.unlink(path)

for f in failures:
    print("FAIL", f)
print(f"tool_check: {len(failures)} failure(s)")
sys.exit(1 if failures else 0)
