#!/usr/bin/env python3
"""Writes a plain graph file of random edges: by default 100000 nodes (AS numbers 1 to 100000,
so reading it needs --as32) and 1000000 edges with covering values of every size, about 40 MB.

Usage: generate_graph_file.py OUT [--nodes N] [--edges N] [--seed N]
"""

import argparse
import random


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("out")
    parser.add_argument("--nodes", type=int, default=100000)
    parser.add_argument("--edges", type=int, default=1000000)
    parser.add_argument("--seed", type=int, default=1)
    args = parser.parse_args()
    rng = random.Random(args.seed)
    edges = set()
    while len(edges) < args.edges:
        a = rng.randint(1, args.nodes)
        b = rng.randint(1, args.nodes)
        edges.add((min(a, b), max(a, b)))
    with open(args.out, "w") as out:
        out.write("VGR\n1\ngenerated\n\n%d\n%d\n" % (args.nodes, len(edges)))
        out.write("".join("%d\n" % n for n in range(1, args.nodes + 1)))
        for a, b in sorted(edges):
            out.write("%d %d %d %d %d %d %d %d\n" % (
                a, b, rng.randint(0, 1), rng.randint(-1, 1), rng.randint(0, 100000),
                rng.randint(0, 20000000), rng.randint(0, 100), rng.randint(0, 1 << 33)))


if __name__ == "__main__":
    main()
