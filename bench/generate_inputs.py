#!/usr/bin/env python3
"""Generates large, realistic inputs for whole-command benchmarks.

A tiered AS topology (a full mesh of tier-1 providers, regional transit providers, stub
networks) yields valley-free AS paths: up from a source stub through its providers, across at
most one peering, down to a destination. From it come an AS path list and several BGP table
dumps in the router text format, each sorted by network as routers print them.

Usage: generate_inputs.py OUTDIR [--paths N] [--dumps N] [--routes N] [--seed N]
"""
import argparse
import os
import random


def build_topology(rng, tier1=12, tier2=600, stubs=20000):
    providers = {}
    tier1_ases = list(range(1, tier1 + 1))
    tier2_ases = list(range(100, 100 + tier2))
    stub_ases = list(range(2000, 2000 + stubs))
    for a in tier1_ases:
        providers[a] = []
    for a in tier2_ases:
        providers[a] = rng.sample(tier1_ases, rng.randint(1, 3))
    for a in stub_ases:
        providers[a] = rng.sample(tier2_ases, rng.randint(1, 2))
    return tier1_ases, tier2_ases, stub_ases, providers


def uphill(rng, providers, start):
    chain = [start]
    while providers[chain[-1]]:
        chain.append(rng.choice(providers[chain[-1]]))
    return chain


def make_path(rng, providers, src, dst):
    up = uphill(rng, providers, src)
    down = uphill(rng, providers, dst)
    if up[-1] == down[-1]:
        return up + down[-2::-1]
    return up + down[::-1]


def write_paths(path, rng, stubs, providers, count):
    with open(path, "w") as out:
        for _ in range(count):
            src, dst = rng.choice(stubs), rng.choice(stubs)
            hops = make_path(rng, providers, src, dst)
            if rng.random() < 0.05:  # some prepending
                hops.insert(1, hops[0])
            out.write(" ".join(map(str, hops)) + "\n")


HEADER = """BGP table version is 4711, local router ID is 192.0.2.1
Status codes: s suppressed, d damped, h history, * valid, > best, i - internal,
              r RIB-failure, S Stale
Origin codes: i - IGP, e - EGP, ? - incomplete

   Network          Next Hop            Metric LocPrf Weight Path
"""


def write_dump(path, rng, vantage, stubs, providers, origins, count):
    # routes: (prefix int, length, origin stub), sorted as a router prints them
    routes = []
    for _ in range(count):
        length = rng.choice((16, 19, 20, 22, 23, 24, 24, 24))
        base = rng.randint(1 << 24, 223 << 24) & ~((1 << (32 - length)) - 1)
        routes.append((base, -length, rng.choice(origins)))
    routes.sort()
    with open(path, "w") as out:
        out.write(HEADER)
        previous = None
        for base, neglen, origin in routes:
            network = "%d.%d.%d.%d/%d" % (base >> 24, (base >> 16) & 255, (base >> 8) & 255,
                                          base & 255, -neglen)
            hops = make_path(rng, providers, vantage, origin)[1:]
            if not hops:
                continue
            aspath = " ".join(map(str, hops)) + " i"
            shown = "" if network == previous else network
            previous = network
            out.write("*> %-16s 192.0.2.%-11d %6d %6s %6d %s\n" %
                      (shown, rng.randint(1, 254), 0, "", 0, aspath))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("outdir")
    parser.add_argument("--paths", type=int, default=3000000)
    parser.add_argument("--dumps", type=int, default=4)
    parser.add_argument("--routes", type=int, default=300000)
    parser.add_argument("--seed", type=int, default=7)
    args = parser.parse_args()
    rng = random.Random(args.seed)
    os.makedirs(args.outdir, exist_ok=True)
    _, tier2, stubs, providers = build_topology(rng)
    write_paths(os.path.join(args.outdir, "paths.txt"), rng, stubs, providers, args.paths)
    origins = stubs[: len(stubs) // 2]
    for d in range(args.dumps):
        vantage = rng.choice(stubs)
        write_dump(os.path.join(args.outdir, "dump%d.txt" % d), rng, vantage, stubs, providers,
                   origins, args.routes)


if __name__ == "__main__":
    main()
