#!/usr/bin/env python3
"""Compares the MRT reader with `bgpdump -m` on MRT files, entry by entry and in order.

For every file prints the number of entries each side gives and how many agree on prefix, peer
AS and AS path (AS sets, which the reader leaves out, are removed from bgpdump's paths).
Usage: bench/mrt_vs_bgpdump.py MRT_DUMP_BINARY FILE...   (FILE may be gzip compressed)
With --expected DIR it also writes bgpdump's normalised entries to DIR/<file name>.expected.
"""
import gzip
import ipaddress
import os
import subprocess
import sys
import tempfile


def normalise(prefix, peer_as, path):
    address, length = prefix.split("/")
    ip = ipaddress.ip_address(address)
    if ip.version == 6:
        # Eight groups without leading zeros, as mrt_dump and the reader's tests write them.
        address = ":".join(f"{int(g, 16):x}" for g in ip.exploded.split(":"))
    else:
        address = str(ip)
    tokens = [t for t in path.split() if not t.startswith("{")]
    return f"{address}/{length}|{peer_as}|{' '.join(tokens)}"


def bgpdump_entries(path):
    out = subprocess.run(["bgpdump", "-m", path], capture_output=True, text=True).stdout
    entries = []
    for line in out.splitlines():
        fields = line.split("|")
        if len(fields) < 7 or fields[2] not in ("A", "B"):
            continue
        # ADD-PATH lines (type ending in _AP) carry the path identifier before the path.
        as_path = fields[7] if fields[0].endswith("_AP") else fields[6]
        entries.append(normalise(fields[5], fields[4], as_path))
    return entries


def reader_entries(binary, path):
    result = subprocess.run([binary, path], capture_output=True, text=True)
    entries = []
    for line in result.stdout.splitlines():
        prefix, peer_as, as_path = line.split("|")
        entries.append(normalise(prefix, peer_as, as_path))
    return entries, result.stderr


def main():
    args = sys.argv[1:]
    expected_dir = None
    if args and args[0] == "--expected":
        expected_dir = args[1]
        args = args[2:]
    binary, files = args[0], args[1:]
    for name in files:
        with tempfile.NamedTemporaryFile(suffix=".mrt") as plain:
            opener = gzip.open if name.endswith(".gz") else open
            with opener(name, "rb") as source:
                plain.write(source.read())
            plain.flush()
            theirs = bgpdump_entries(plain.name)
            ours, log = reader_entries(binary, plain.name)
        agree = sum(1 for a, b in zip(ours, theirs) if a == b)
        print(f"{os.path.basename(name)}: reader {len(ours)}, bgpdump {len(theirs)}, "
              f"agree in order {agree}, same multiset {sorted(ours) == sorted(theirs)}")
        for a, b in [(a, b) for a, b in zip(ours, theirs) if a != b][:3]:
            print(f"   reader : {a}\n   bgpdump: {b}")
        if os.environ.get("SHOW_LOG"):
            print(log)
        if expected_dir:
            base = os.path.basename(name)
            with open(os.path.join(expected_dir, base + ".expected"), "w") as out:
                out.write("".join(e + "\n" for e in theirs))


if __name__ == "__main__":
    main()
