#!/usr/bin/env python3
"""Which tests catch which one-line faults of the program.

Draws one-line faults from the program's sources (a comparison turned round, a
condition negated, a call left out, a bound moved by one), builds each into a
build folder of the tests and runs every test program on it. Prints one line a
fault, tab-separated: its number, file:line, what was changed, and the test
rows that failed (empty: no test caught it). The sources are put back after
each fault, also when the script is stopped.

    scripts/fault-table.py BUILD [--count N] [--seed S] [--only 3,17,40]
    scripts/fault-table.py BUILD --rerun TABLE --at REV

--rerun runs the faults of an earlier TABLE, made on the sources of commit REV,
again: each on the line of today's sources with the same text, nearest to where
it was.

BUILD is a configured build folder with tests (a Debug build compiles fastest);
the print spooler's queues should be up (scripts/print-spooler.sh start).
"""
import argparse
import os
import random
import re
import subprocess
import sys
import time
from pathlib import Path

TOP = Path(__file__).resolve().parent.parent
SOURCES = sorted(p for d in ("app", "table", "document", "print")
                 for p in (TOP / d).glob("*.cpp") if p.name != "main.cpp")
PROGRAMS = {  # name: (program, extra environment)
    "tst_document": ("tests/tst_document", {}),
    "tst_table": ("tests/tst_table", {}),
    "tst_printing": ("tests/tst_printing", {}),
    "tst_printing_noprinter": ("tests/tst_printing", {
        "CUPS_SERVER": "/nonexistent/cups.sock", "VORLAN_NO_PRINTER": "1"}),
    "tst_randomuser": ("tests/tst_randomuser", {}),
}
FUZZ = ("reader", "row", "paste", "layout")
# (pattern, replacement, name): the first that matches a drawn line is applied.
CHANGES = [
    (r"==", "!=", "== to !="),
    (r"!=", "==", "!= to =="),
    (r"&&", "||", "&& to ||"),
    (r"\|\|", "&&", "|| to &&"),
    (r"(?<![<>=])<=(?!=)", "<", "<= to <"),
    (r"(?<![<>=-])>=", ">", ">= to >"),
    (r"\btrue\b", "false", "true to false"),
    (r"\bfalse\b", "true", "false to true"),
    (r"\+ 1\b", "- 1", "+ 1 to - 1"),
    (r"- 1\b", "+ 1", "- 1 to + 1"),
    (r"\bqMax\b", "qMin", "qMax to qMin"),
    (r"\bqMin\b", "qMax", "qMin to qMax"),
    (r"\(!(?!=)", "(", "! dropped"),
    (r"\breturn ([A-Za-z_]\w*);", r"return !\1;", "return negated"),
]
CALL = re.compile(r"^\s*(emit |[\w:>.\-]+(\(|->|\.))[^=]*\);\s*$")


def changes(line):
    """The faults that can be made of one line: (name, the line changed)."""
    code = line.strip()
    if not code or code.startswith(("//", "#", "*", "/*")):
        return
    for pattern, replacement, name in CHANGES:
        if re.search(pattern, line):
            yield name, re.sub(pattern, replacement, line, 1)
    if CALL.match(line) and not code.startswith("return"):
        yield "call left out", re.sub(r"\S.*", ";", line)


def candidates():
    return [(path, number, name, changed) for path in SOURCES
            for number, line in enumerate(path.read_text(encoding="utf-8").split("\n"), 1)
            for name, changed in changes(line)]


def moved(table, rev):
    """The faults of an earlier table, on the lines of today's sources with their text."""
    for row in table.read_text(encoding="utf-8").splitlines():
        index, where, name = row.split("\t")[:3]
        relative, number = where.rsplit(":", 1)
        old = subprocess.run(["git", "-C", str(TOP), "show", "%s:%s" % (rev, relative)],
                             capture_output=True, text=True, check=True).stdout
        text = old.split("\n")[int(number) - 1]
        lines = (TOP / relative).read_text(encoding="utf-8").split("\n")
        found = [n for n, line in enumerate(lines, 1) if line == text]
        if not found:
            print("%s\t%s\t%s\tgone: the line is no longer there" % (index, where, name))
            continue
        at = min(found, key=lambda n: abs(n - int(number)))
        yield int(index), TOP / relative, at, name, dict(changes(text))[name]


def run_tests(build):
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", QT_QPA_PLATFORMTHEME="",
               LC_ALL="C.UTF-8")
    runs = {}
    for name, (program, extra) in PROGRAMS.items():
        runs[name] = subprocess.Popen([str(build / program)], cwd=build, env=dict(env, **extra),
                                      stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    for target in FUZZ:
        inputs = [str(p) for p in (TOP / "tests/fuzz").glob("*/" + target)]
        runs["replay_" + target] = subprocess.Popen(
            [str(build / "tests/fuzz" / ("replay_" + target))] + inputs, cwd=build, env=env,
            stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    caught = []
    deadline = time.monotonic() + 240  # for all of them: a fault can make every one hang
    for name, run in runs.items():
        try:
            out = run.communicate(timeout=max(1, deadline - time.monotonic()))[0].decode(
                "utf-8", "replace")
        except subprocess.TimeoutExpired:
            run.kill()
            out = run.communicate()[0].decode("utf-8", "replace") + "\n(timeout)"
        rows = sorted(set(re.findall(r"^FAIL!  : \w+::(\w+\(.*?\))", out, re.M)))
        if run.returncode != 0 and not rows:
            rows = ["exit %d%s" % (run.returncode, " timeout" if "(timeout)" in out else "")]
        caught += ["%s %s" % (name, row) for row in rows]
    return caught


def build_tests(build):
    targets = list(PROGRAMS.keys() - {"tst_printing_noprinter"}) + ["replay_" + t for t in FUZZ]
    return subprocess.run(["cmake", "--build", str(build), "-j2", "--target"] + targets,
                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode == 0


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("build", type=Path)
    parser.add_argument("--count", type=int, default=60)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--only", default="")
    parser.add_argument("--rerun", type=Path)
    parser.add_argument("--at", default="HEAD")
    args = parser.parse_args()
    build = args.build.resolve()
    faults = candidates()
    random.Random(args.seed).shuffle(faults)
    faults = moved(args.rerun, args.at) if args.rerun else (
        (index,) + fault for index, fault in enumerate(faults, 1))
    only = {int(n) for n in args.only.split(",") if n}
    done = 0
    for index, path, number, name, changed in faults:
        if done >= args.count and not (only or args.rerun) or only and index not in only:
            continue
        original = path.read_text(encoding="utf-8")
        lines = original.split("\n")
        lines[number - 1] = changed
        try:
            path.write_text("\n".join(lines), encoding="utf-8")
            if not build_tests(build):
                continue  # not a program
            caught = run_tests(build)
        finally:
            path.write_text(original, encoding="utf-8")
        done += 1
        print("%d\t%s:%d\t%s\t%s" % (index, path.relative_to(TOP), number, name, "; ".join(caught)),
              flush=True)
    build_tests(build)
    return 0


if __name__ == "__main__":
    sys.exit(main())
