#!/usr/bin/env python3
"""Checks zelgrin's pipe-text reader (letter l) against its MRT reader (letter m).

For each MRT file, Debian's bgpdump prints its routes as pipe-separated text, once with -m
(UNIX times) and once with -M (human-readable times); the graph of `--file:lneci TEXT` must equal
the graph of `--file:mneci FILE`, byte for byte apart from the source file line. The files
bgpdump cannot be the second opinion for are handled as in mrt_second_opinion.py: a TABLE_DUMP
file of 2000 with records 4 bytes short is given to bgpdump reframed, and the BIRD files that log
ADD-PATH identifiers under the plain subtypes are skipped (bgpdump reads the identifiers as
prefixes). Both runs use --as32.

Usage: pipe_second_opinion.py ZELGRIN FILE...   (exit 0 when every file agrees)
"""
import gzip
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import mrt_second_opinion as mrt  # noqa: E402


def graph_without_sources(path):
    with open(path) as f:
        lines = f.read().split("\n")
    return [lines[0]] + mrt.graph_body(path)


def check(zelgrin, source, work):
    name = os.path.basename(source)
    if mrt.twin_of(source):
        print("%s: skipped (bgpdump misreads its ADD-PATH identifiers)" % name)
        return True
    opener = gzip.open if source.endswith(".gz") else open
    with opener(source, "rb") as f:
        fixed = mrt.reframed(f.read())
    readable = source
    if fixed is not None:
        readable = os.path.join(work, "reframed.mrt")
        with open(readable, "wb") as f:
            f.write(fixed)
    mrt_graph = os.path.join(work, "m.graph")
    mrt.run(zelgrin, ["--file:mneci", source], mrt_graph)
    ok = True
    verdicts = []
    for flag in ("-m", "-M"):
        text = os.path.join(work, "routes.txt")
        with open(text, "wb") as f:
            subprocess.run(["bgpdump", flag, readable], stdout=f, stderr=subprocess.DEVNULL,
                           check=False)
        pipe_graph = os.path.join(work, "l.graph")
        mrt.run(zelgrin, ["--file:lneci", text], pipe_graph)
        same = graph_without_sources(pipe_graph) == graph_without_sources(mrt_graph)
        ok = ok and same
        verdicts.append("bgpdump %s %s" % (flag, "agrees" if same else "DIFFERS"))
    print("%s: %s" % (name, ", ".join(verdicts)))
    return ok


def main():
    if len(sys.argv) < 3:
        print(__doc__)
        return 2
    if subprocess.run(["sh", "-c", "command -v bgpdump"], capture_output=True).returncode != 0:
        print("bgpdump is not installed (tools/install-deps.sh test installs it): skipped")
        return 77
    zelgrin = os.path.abspath(sys.argv[1])
    ok = True
    for source in sys.argv[2:]:
        with tempfile.TemporaryDirectory() as work:
            ok = check(zelgrin, source, work) and ok
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
