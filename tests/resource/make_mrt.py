#!/usr/bin/env python3
"""Writes hostile MRT inputs for the resource tests, fast: every RIB record shares one block of
entries (PEERS peers, each with a two-AS path), only the prefix changes.

  make_mrt.py damaged N OUT        N damaged records (a PEER_INDEX_TABLE header cut short)
  make_mrt.py rib ORDER N OUT      a PEER_INDEX_TABLE, then N RIB records of /24 prefixes:
                                   ORDER ascending, shuffled, or one-prefix (10.0.0.0/8 N times)
"""
import random
import struct
import sys

PEERS = 20


def record(subtype, body):
    return struct.pack(">IHHI", 1700000000, 13, subtype, len(body)) + body


def rib(order, count, out):
    table = struct.pack(">IHH", 0x0A000001, 0, PEERS)
    for i in range(PEERS):
        table += struct.pack(">BIII", 2, 0x0A000100 + i, 0xC0000200 + i, 64500 + i)
    entries = b""
    for i in range(PEERS):
        segment = struct.pack(">BBII", 2, 2, 64500 + i, 3000 + i % 7)
        attributes = b"\x40\x01\x01\x00" + struct.pack(">BBB", 0x40, 2, len(segment)) + segment
        entries += struct.pack(">HIH", i, 0, len(attributes)) + attributes
    tail = struct.pack(">H", PEERS) + entries
    if order == "one-prefix":
        prefixes = [(10 << 24, 8)] * count
    else:
        prefixes = [((1 << 24) + (k << 8), 24) for k in range(count)]
        if order == "shuffled":
            random.Random(1).shuffle(prefixes)
    out.write(record(1, table))
    for sequence, (address, length) in enumerate(prefixes):
        prefix = struct.pack(">I", address)[: (length + 7) // 8]
        out.write(record(2, struct.pack(">IB", sequence, length) + prefix + tail))


def main():
    with open(sys.argv[-1], "wb") as out:
        if sys.argv[1] == "damaged":
            out.write(b"\0\0\0\0\0\x0d\0\x01\0\0\0\0" * int(sys.argv[2]))
        else:
            rib(sys.argv[2], int(sys.argv[3]), out)


if __name__ == "__main__":
    main()
