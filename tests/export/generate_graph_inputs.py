#!/usr/bin/python3
"""Generates inputs for the consumer tests of zelgrin-export, deterministically.

Writes into OUTDIR:
  paths&.txt    valley-free AS paths over a tiered topology, some prepended (self-loops)
  extra.txt     AS couples as two-hop paths, for edges that get no direction (unknown)
  rel.txt       relationships: peerings between tier-1 ASes, some provider-customer pairs
  dump.txt      a router table dump seen from a tier-1 AS, for IP covering
  wide.graph    a differential graph file written directly, with 32-bit AS numbers and
                covering values near their limits

Usage: generate_graph_inputs.py OUTDIR
"""
import os
import random
import sys


def topology(rng):
    tier1 = list(range(1, 9))
    tier2 = list(range(100, 300))
    stubs = list(range(1000, 2600))
    providers = {a: [] for a in tier1}
    for a in tier2:
        providers[a] = rng.sample(tier1, rng.randint(1, 3))
    for a in stubs:
        providers[a] = rng.sample(tier2, rng.randint(1, 2))
    return tier1, tier2, stubs, providers


def climb(rng, providers, start):
    chain = [start]
    while providers[chain[-1]]:
        chain.append(rng.choice(providers[chain[-1]]))
    return chain


def path(rng, providers, source, destination):
    up = climb(rng, providers, source)
    down = climb(rng, providers, destination)
    if up[-1] == down[-1]:
        return up + down[-2::-1]
    return up + down[::-1]


def write_inputs(out, rng):
    tier1, tier2, stubs, providers = topology(rng)
    with open(os.path.join(out, "paths&.txt"), "w") as f:
        for _ in range(3000):
            hops = path(rng, providers, rng.choice(stubs), rng.choice(stubs))
            if rng.random() < 0.05:
                hops.insert(1, hops[1])
            f.write(" ".join(map(str, hops)) + "\n")
    with open(os.path.join(out, "extra.txt"), "w") as f:
        for _ in range(400):
            f.write("%d %d\n" % tuple(rng.sample(stubs, 2)))
    with open(os.path.join(out, "rel.txt"), "w") as f:
        for a in tier1:
            for b in tier1:
                if a < b:
                    f.write("%d %d 0\n" % (a, b))
        for a in rng.sample(tier2, 50):
            f.write("%d %d 1\n" % (providers[a][0], a))
    with open(os.path.join(out, "dump.txt"), "w") as f:
        f.write("   Network          Next Hop            Metric LocPrf Weight Path\n")
        networks = sorted(rng.sample(range(1 << 8, 223 << 8), 1500))
        for network in networks:
            hops = path(rng, providers, 1, rng.choice(stubs))[1:]
            if hops:
                f.write("*> %d.%d.0.0/16     192.0.2.1                0             0 %s i\n"
                        % (network >> 8, network & 255, " ".join(map(str, hops))))


def write_wide_graph(path_name, rng):
    ases = sorted(set(rng.choice([rng.randint(1, 65535), rng.randint(65536, 4294967295)])
                      for _ in range(800)) | {4294967295})
    edges = set()
    while len(edges) < 2500:
        a, b = rng.choice(ases), rng.choice(ases)
        edges.add((min(a, b), max(a, b)))
    big = [0, 1, 4294967295, 18446744073709551615, 1 << 40]
    with open(path_name, "w") as f:
        f.write("VDG\n2\nold.graph\nnew.graph\ncompared with 32-bit AS numbers\n")
        f.write("%d\n%d\n" % (len(ases), len(edges)))
        f.writelines("%d\n" % a for a in ases)
        for a, b in sorted(edges):
            f.write("%d %d %d %d %d %d %d %d %d %d %d %d %d %d %d %d %d %d %d %d %d %d %f\n" % (
                a, b, rng.randint(0, 1), rng.randint(-1, 1),
                rng.choice([rng.randint(0, 99), 4294967295]), rng.choice(big),
                rng.randint(0, 99), rng.randint(0, 1 << 32),
                rng.randint(0, 1), rng.randint(0, 1), rng.randint(-1, 1), rng.randint(-1, 1),
                rng.randint(0, 99), rng.choice(big), rng.randint(0, 99), rng.randint(0, 1 << 24),
                rng.randint(1, 9), rng.randint(0, 9), rng.randint(0, 9), rng.randint(0, 9),
                rng.randint(0, 9), rng.randint(0, 65535), rng.random()))


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    rng = random.Random(20261207)
    write_inputs(out, rng)
    write_wide_graph(os.path.join(out, "wide.graph"), rng)


if __name__ == "__main__":
    main()
