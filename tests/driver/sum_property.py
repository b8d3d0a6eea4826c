#!/usr/bin/env python3
"""--sum adds graphs exactly: for random path lists and random splits of them into parts, the sum
of the parts' graphs is byte for byte the graph built from all the lists at once.
Usage: sum_property.py ZELGRIN [TRIALS]"""
import os
import random
import subprocess
import sys
import tempfile


def run(zelgrin, args, cwd):
    result = subprocess.run([zelgrin, "-f"] + args, cwd=cwd, capture_output=True)
    if result.returncode != 0:
        sys.exit("zelgrin %s failed: %s" % (args, result.stderr.decode(errors="replace")))


def main():
    zelgrin = os.path.abspath(sys.argv[1])
    trials = int(sys.argv[2]) if len(sys.argv) > 2 else 20
    rng = random.Random(20261207)
    with tempfile.TemporaryDirectory() as work:
        for trial in range(trials):
            files = []
            for k in range(rng.randint(2, 6)):
                name = "t%d_%d.txt" % (trial, k)
                with open(os.path.join(work, name), "w") as out:
                    for _ in range(rng.randint(0, 40)):
                        # Small AS numbers so that parts share nodes and edges; repeats make loops.
                        path = [rng.randint(1, 30) for _ in range(rng.randint(1, 6))]
                        out.write(" ".join(map(str, path)) + "\n")
                files.append(name)
            whole = []
            for name in files:
                whole += ["--file:pnec", name]
            run(zelgrin, ["-o", "whole.graph"] + whole, work)
            cuts = sorted(rng.sample(range(1, len(files)), rng.randint(0, len(files) - 1)))
            parts, start = [], 0
            for end in cuts + [len(files)]:
                part = "part%d.graph" % len(parts)
                args = []
                for name in files[start:end]:
                    args += ["--file:pnec", name]
                run(zelgrin, ["-o", part] + args, work)
                parts.append(part)
                start = end
            run(zelgrin, ["-o", "sum.graph", "--sum"] + parts, work)
            with open(os.path.join(work, "whole.graph"), "rb") as a, \
                 open(os.path.join(work, "sum.graph"), "rb") as b:
                if a.read() != b.read():
                    sys.exit("trial %d: the sum of %s differs from the whole graph" % (trial, parts))
    print("sum property: %d trials, 0 failed" % trials)


if __name__ == "__main__":
    main()
