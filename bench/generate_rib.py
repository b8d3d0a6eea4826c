#!/usr/bin/env python3
"""Generates a large synthetic RIB dump in MRT format, for benchmarking the MRT reader.

The file holds one TABLE_DUMP_V2 PEER_INDEX_TABLE, then one RIB_IPV4_UNICAST record per prefix
with one entry per peer, as route collectors write full-table dumps. Paths come from a tiered
topology (tier-1 mesh, regional transit, stub origins): each peer reaches an origin through one
or two transit ASes, so paths run 3 to 8 ASes, some with the origin or the peer prepended; about
3 % of the ASes are 4-byte numbers. The same seed gives the same bytes.

With --family ipv6 the records are RIB_IPV6_UNICAST (the peers keep IPv4 addresses) and the
prefixes lie in 2000::/3: mostly /29 to /48 blocks, a third of them with more specifics inside
(mostly /48 to /64, a few up to /128), written as collectors write them: addresses ascending and,
at one address, the shorter prefix first. The same --prefixes and --peers give the same number
of entries in both families, with the same topology and path shapes.

Hostile orders for the sort of the IP covering pass: --order shuffled writes the prefixes in a
random order (addresses that do not ascend), --order one-prefix writes one prefix every time.

Usage: generate_rib.py OUT [--prefixes N] [--peers N] [--seed N] [--gzip]
                       [--order ascending|shuffled|one-prefix] [--family ipv4|ipv6]
Example: generate_rib.py bench/data/rib.mrt --prefixes 1000000 --peers 20   (about 1 GB)
"""
import argparse
import gzip
import random
import struct

TIME = 1700000000
ATTR_ORIGIN = b"\x40\x01\x01\x00"


def build_topology(rng):
    tier1 = list(range(1, 16))
    tier2 = list(range(100, 2100))
    stubs = [3000 + i for i in range(60000)]
    # A few per cent of transit and stub ASes have 4-byte numbers, as in today's tables.
    tier2 = [a if rng.random() > 0.03 else 200000 + a for a in tier2]
    stubs = [a if rng.random() > 0.03 else 4200000000 + a for a in stubs]
    providers = {a: rng.sample(tier1, rng.randint(1, 3)) for a in tier2}
    providers.update({a: rng.sample(tier2, rng.randint(1, 2)) for a in stubs})
    return tier1, tier2, stubs, providers


def path_from(rng, peer_as, origin, tier1, providers):
    provider = rng.choice(providers[origin])
    chain = [peer_as]
    if rng.random() < 0.5:
        # Through a second transit network below the peer.
        chain.append(rng.choice(providers[provider]))
    elif peer_as not in tier1 and rng.random() < 0.5:
        chain.append(rng.choice(tier1))
    chain.append(provider)
    if rng.random() < 0.1 and provider in providers:
        # A longer way round: through a provider of the origin's provider first.
        chain.insert(-1, rng.choice(providers[provider]))
    chain.append(origin)
    if rng.random() < 0.15:
        chain.extend([origin] * rng.randint(1, 2))  # origin prepending
    if rng.random() < 0.05:
        chain.insert(0, peer_as)  # peer prepending
    return chain[:8]


def entry_bytes(peer_index, path, next_hop):
    segment = struct.pack(">BB", 2, len(path)) + b"".join(struct.pack(">I", a) for a in path)
    attributes = (ATTR_ORIGIN + struct.pack(">BBB", 0x40, 2, len(segment)) + segment +
                  b"\x40\x03\x04" + next_hop)
    return struct.pack(">HIH", peer_index, TIME - 86400, len(attributes)) + attributes


def record(subtype, body):
    return struct.pack(">IHHI", TIME, 13, subtype, len(body)) + body


def peer_index_table(peers):
    body = struct.pack(">IH", 0x0A000001, 0) + struct.pack(">H", len(peers))
    for i, peer_as in enumerate(peers):
        body += struct.pack(">BII", 2, 0x0A000100 + i, 0xC0000200 + i) + struct.pack(">I", peer_as)
    return record(1, body)


def prefixes(rng, count):
    address = 1 << 24
    for _ in range(count):
        length = rng.choices([24, 23, 22, 21, 20, 19, 16], [62, 8, 10, 8, 8, 3, 1])[0]
        size = 1 << (32 - length)
        address = (address + size - 1) // size * size
        if address + size > 224 << 24:
            address = 1 << 24  # past the unicast space (beyond 2.5 M prefixes): start over
        yield address, length
        address += size * (2 if rng.random() < 0.1 else 1)


def prefixes6(rng, count):
    """IPv6 prefixes as (address, length), address a 128-bit integer, in the collectors' order."""
    start = 0x2000 << 112
    address = start
    made = 0
    while made < count:
        length = rng.choices([29, 32, 36, 40, 44, 48], [5, 30, 10, 10, 10, 35])[0]
        size = 1 << (128 - length)
        address = (address + size - 1) // size * size
        if address + size > 0x4000 << 112:
            address = start  # past 2000::/3: start over
        yield address, length
        made += 1
        if rng.random() < 0.33:
            # More specifics inside the block, ascending; the first may share its address.
            inner = address
            for _ in range(rng.randint(1, 4)):
                if made >= count:
                    break
                more = rng.choices([48, 52, 56, 64, 96, 128], [30, 10, 20, 30, 5, 5])[0]
                more = max(more, length + 1)
                step = 1 << (128 - more)
                inner = (inner + step - 1) // step * step
                if inner + step > address + size:
                    break
                yield inner, more
                made += 1
                inner += step * rng.randint(1, 3)
        address += size * (2 if rng.random() < 0.1 else 1)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("out")
    parser.add_argument("--prefixes", type=int, default=1000000)
    parser.add_argument("--peers", type=int, default=20)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--gzip", action="store_true", help="write gzip compressed output")
    parser.add_argument("--order", choices=["ascending", "shuffled", "one-prefix"],
                        default="ascending")
    parser.add_argument("--family", choices=["ipv4", "ipv6"], default="ipv4")
    args = parser.parse_args()
    ipv6 = args.family == "ipv6"

    rng = random.Random(args.seed)
    tier1, tier2, stubs, providers = build_topology(rng)
    peers = rng.sample(tier1, min(len(tier1), args.peers // 3 + 1))
    peers += rng.sample(tier2, args.peers - len(peers))
    next_hops = [struct.pack(">I", 0xC0000200 + i) for i in range(len(peers))]
    cache = {}
    out = gzip.open(args.out, "wb", compresslevel=6) if args.gzip else open(args.out, "wb")
    with out:
        out.write(peer_index_table(peers))
        order = prefixes6(rng, args.prefixes) if ipv6 else prefixes(rng, args.prefixes)
        if args.order == "shuffled":
            order = list(order)
            rng.shuffle(order)
        elif args.order == "one-prefix":
            order = [(0x20010DB8 << 96, 32) if ipv6 else (10 << 24, 8)] * args.prefixes
        for sequence, (address, length) in enumerate(order):
            # A fifth of the prefixes belong to a few hundred large networks.
            origin = stubs[rng.randrange(500) if rng.random() < 0.2 else rng.randrange(len(stubs))]
            entries = []
            for index, peer_as in enumerate(peers):
                # Same peer and origin, same path: real tables repeat paths across prefixes.
                key = (index, origin)
                encoded = cache.get(key)
                if encoded is None:
                    path = path_from(rng, peer_as, origin, tier1, providers)
                    encoded = cache[key] = entry_bytes(index, path, next_hops[index])
                entries.append(encoded)
            width = 16 if ipv6 else 4
            prefix = address.to_bytes(width, "big")[: (length + 7) // 8]
            body = (struct.pack(">IB", sequence, length) + prefix + struct.pack(">H", len(entries)) +
                    b"".join(entries))
            out.write(record(4 if ipv6 else 2, body))


if __name__ == "__main__":
    main()
