#!/usr/bin/env python3
"""Writes a path list of random AS paths: by default 1000 paths of 5000 hops over the AS numbers
1 to 65535, about 29 MB. Nearly every pair of consecutive ASes is a new edge, so the graph gets
some 5 million edges over 65535 nodes (average degree about 150): a test of what an edge costs
in memory and time rather than of reading.

Usage: generate_long_paths.py OUT [--paths N] [--hops N] [--seed N]
"""

import argparse
import random


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("out")
    parser.add_argument("--paths", type=int, default=1000)
    parser.add_argument("--hops", type=int, default=5000)
    parser.add_argument("--seed", type=int, default=1)
    args = parser.parse_args()
    rng = random.Random(args.seed)
    with open(args.out, "w") as out:
        for _ in range(args.paths):
            out.write(" ".join(str(rng.randint(1, 65535)) for _ in range(args.hops)))
            out.write("\n")


if __name__ == "__main__":
    main()
