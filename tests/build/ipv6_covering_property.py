#!/usr/bin/env python3
"""The IPv6 covering of each way is the exact union of the /64 units of the routes over it, across
every RIB of a run: random nested IPv6 prefixes in several RIBs of route text (in no particular
order, so the readers sort them), built with --ipv6, checked against a brute-force union; the
same RIBs given with -j 1 and -j 2 give the same graph.
Usage: ipv6_covering_property.py ZELGRIN [TRIALS]"""
import ipaddress
import os
import random
import subprocess
import sys
import tempfile


def random_prefix(rng):
    # A few roots, so that prefixes nest and repeat; lengths on both sides of /64.
    root = rng.choice([0x2001_0db8, 0x2a00_0000, 0xffff_ffff])
    length = rng.choice([3, 16, 29, 32, 40, 48, 56, 63, 64, 65, 96, 128])
    value = (root << 96) | rng.getrandbits(96)
    return ipaddress.IPv6Network((value, length), strict=False)


def units(prefix):
    first = int(prefix.network_address) >> 64
    last = int(prefix.broadcast_address) >> 64
    return first, last


def union_size(intervals):
    total, end = 0, -1
    for first, last in sorted(intervals):
        if last <= end:
            continue
        total += last - max(first, end + 1) + 1
        end = last
    return total


def read_graph(path):
    with open(path) as graph:
        lines = graph.read().split("\n")
    assert lines[0] == "VGR6", lines[0]
    at = 1 + 1 + int(lines[1])  # marker, count, names
    at += 1  # comment
    nodes, edges = int(lines[at]), int(lines[at + 1])
    at += 2 + nodes
    ways = {}
    for line in lines[at:at + edges]:
        a, b, _, _, _, ip_ab, _, ip_ba = line.split()
        ways[(int(a), int(b))] = int(ip_ab)
        ways[(int(b), int(a))] = int(ip_ba)
    return ways


def main():
    zelgrin = os.path.abspath(sys.argv[1])
    trials = int(sys.argv[2]) if len(sys.argv) > 2 else 10
    rng = random.Random(20261207)
    with tempfile.TemporaryDirectory() as work:
        for trial in range(trials):
            expected = {}
            args = []
            for rib in range(rng.randint(1, 4)):
                name = os.path.join(work, "rib%d.txt" % rib)
                with open(name, "w") as out:
                    for _ in range(rng.randint(0, 200)):
                        prefix = random_prefix(rng)
                        path = [rng.randint(1, 6) for _ in range(rng.randint(1, 4))]
                        out.write("TABLE_DUMP2|1700000000|B|2001:db8::1|%d|%s|%s|IGP|::|0|0||NAG||\n"
                                  % (path[0], prefix, " ".join(map(str, path))))
                        if prefix.prefixlen == 0:
                            continue
                        for near, far in zip(path, path[1:]):
                            if near != far:
                                expected.setdefault((far, near), []).append(units(prefix))
                        # An IPv4 route: the IPv6 graph passes it over.
                        out.write("TABLE_DUMP2|1700000000|B|10.0.0.1|1|10.0.0.0/8|1 2|IGP|\n")
                args += ["--file:lneci", name]
            graphs = []
            for threads in ("1", "2"):
                out = os.path.join(work, "g%s.graph" % threads)
                result = subprocess.run([zelgrin, "-f", "--ipv6", "-j", threads, "-o", out] + args,
                                        capture_output=True)
                if result.returncode != 0:
                    sys.exit("trial %d: zelgrin failed: %s" % (trial, result.stderr.decode()))
                with open(out, "rb") as graph:
                    graphs.append(graph.read())
            if graphs[0] != graphs[1]:
                sys.exit("trial %d: -j 2 gave another graph than -j 1" % trial)
            ways = read_graph(os.path.join(work, "g1.graph"))
            for way, intervals in expected.items():
                if ways.get(way) != union_size(intervals):
                    sys.exit("trial %d: way %s: %s units, expected %d"
                             % (trial, way, ways.get(way), union_size(intervals)))
    print("ipv6 covering: %d trials agree" % trials)


if __name__ == "__main__":
    main()
