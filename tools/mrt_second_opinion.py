#!/usr/bin/env python3
"""Checks zelgrin's MRT reader against a second opinion: Debian's bgpdump, a general MRT decoder.

For each MRT file (plain or compressed):
  1. the graph of `zelgrin --file:mnec FILE` must equal the graph of the path list that
     `bgpdump -m FILE` yields for it (field 7 of every RIB entry and announcement, AS sets removed);
  2. when the file holds IPv4 RIB entries, the IP covering of `--file:mi FILE` must equal the
     covering of the same entries written as a router table dump (`--file:bi`), beside the same
     path list.
Graphs are compared without their source-file lines. Both runs use --as32.

Usage: mrt_second_opinion.py ZELGRIN FILE...   (exit 0 when every file agrees)
"""
import ipaddress
import os
import subprocess
import sys
import tempfile

HEADER = "   Network          Next Hop            Metric LocPrf Weight Path\n"


def bgpdump_lines(path):
    out = subprocess.run(["bgpdump", "-m", path], capture_output=True, check=False)
    for line in out.stdout.decode("utf-8", "replace").splitlines():
        fields = line.split("|")
        if len(fields) > 6 and fields[2] in ("A", "B"):
            yield fields


def without_sets(as_path):
    return " ".join(t for t in as_path.split() if "{" not in t and "}" not in t)


def table_line(prefix, as_path):
    """One route as a router prints it, columns shifted right by a network wider than 16."""
    network = prefix if len(prefix) <= 16 else prefix + " "
    line = "*> " + network.ljust(17) + "192.0.2.1".ljust(20)
    shift = max(0, len(prefix) - 16)
    line = line.ljust(61 + shift)
    return line + as_path + " i\n"


def graph_body(path):
    with open(path) as f:
        lines = f.read().split("\n")
    count = int(lines[1])
    return lines[2 + count:]  # from the comment line on


def run(zelgrin, args, out):
    result = subprocess.run([zelgrin, "--as32", "-f", "-o", out] + args, capture_output=True)
    if result.returncode != 0:
        raise RuntimeError("zelgrin %s failed: %s" % (" ".join(args), result.stderr.decode()))


def check(zelgrin, mrt, work):
    entries = list(bgpdump_lines(mrt))
    paths = os.path.join(work, "paths.txt")
    with open(paths, "w") as f:
        for fields in entries:
            f.write(without_sets(fields[6]) + "\n")
    a, b = os.path.join(work, "a.graph"), os.path.join(work, "b.graph")
    run(zelgrin, ["--file:pnec", paths], a)
    run(zelgrin, ["--file:mnec", mrt], b)
    verdicts = ["paths " + ("agree" if graph_body(a) == graph_body(b) else "DIFFER")]
    ok = graph_body(a) == graph_body(b)

    rib = [f for f in entries if f[2] == "B" and ":" not in f[5]]
    if rib:
        # The merge order: lower address first, then the longer prefix; ties keep file order.
        def key(item):
            net = ipaddress.ip_network(item[1][5], strict=False)
            return (int(net.network_address), -net.prefixlen, item[0])
        dump = os.path.join(work, "dump.txt")
        with open(dump, "w") as f:
            f.write(HEADER)
            for _, fields in sorted(enumerate(rib), key=lambda item: key(item)):
                f.write(table_line(fields[5], fields[6]))
        run(zelgrin, ["--file:pne", paths, "--file:bi", dump], a)
        run(zelgrin, ["--file:pne", paths, "--file:mi", mrt], b)
        same = graph_body(a) == graph_body(b)
        ok = ok and same
        verdicts.append("IP covering " + ("agrees" if same else "DIFFERS"))
    print("%s: %d entries; %s" % (os.path.basename(mrt), len(entries), ", ".join(verdicts)))
    return ok


def main():
    if len(sys.argv) < 3:
        print(__doc__)
        return 2
    zelgrin = os.path.abspath(sys.argv[1])
    ok = True
    for mrt in sys.argv[2:]:
        with tempfile.TemporaryDirectory() as work:
            ok = check(zelgrin, mrt, work) and ok
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
