#!/usr/bin/env python3
"""Checks zelgrin's MRT reader against a second opinion: Debian's bgpdump, a general MRT decoder.

For each MRT file (plain or compressed) and each address family (--family ipv4 or ipv6; both
when not given):
  1. the graph of `zelgrin --file:mnec FILE` (with --ipv6 for the IPv6 family) must equal the
     graph of the path list that `bgpdump -m FILE` yields for it (field 7 of every RIB entry and
     announcement whose prefix is of the family, AS sets removed);
  2. IPv4 only: when the file holds IPv4 RIB entries, the IP covering of `--file:mi FILE` must equal the
     covering of the same entries written as a router table dump (`--file:bi`; `--file:ti` when
     a default route has a path, as the classic reader takes 0.0.0.0/0 for one address), beside
     the same path list.
Graphs are compared without their source-file lines. Both runs use --as32.

Two kinds of files bgpdump cannot be the second opinion for, handled here:
  - TABLE_DUMP files of 2000 that batch many entries into one record and declare each record
    4 bytes short: bgpdump stops after the first entry. The script first rewrites such a file
    as standard one-entry records (the rule zelgrin's reader applies, see
    src/parsers/mrt_record_stream.h) and asks bgpdump about that copy.
  - Files whose daemon logged ADD-PATH path identifiers under the plain BGP4MP subtypes (BIRD):
    bgpdump reads the identifiers as prefixes. When a twin of the file written with the proper
    subtypes lies beside it (KNOWN_TWINS), the graph must equal the twin's graph instead.

Usage: mrt_second_opinion.py [--family ipv4|ipv6] ZELGRIN FILE...   (exit 0 when all agree)
"""
import gzip
import ipaddress
import os
import struct
import subprocess
import sys
import tempfile

HEADER = "   Network          Next Hop            Metric LocPrf Weight Path\n"
# Sample names (with or without a prefix) and the name of the same routes' proper recording.
KNOWN_TWINS = {
    "bird_bgp.mrt": "bird-mrtdump_bgp.mrt",
    "bird6_bgp.mrt": "bird6-mrtdump_bgp.mrt",
}


def twin_of(mrt):
    name = os.path.basename(mrt)
    for sample, twin in KNOWN_TWINS.items():
        if name.endswith(sample):
            return os.path.join(os.path.dirname(mrt), name[:-len(sample)] + twin)
    return None
TYPES_IN_USE = {5, 11, 12, 13, 16, 17, 32, 33, 48, 49}


def plausible(data, at):
    if at + 12 > len(data):
        return False
    _, kind, _, length = struct.unpack_from(">IHHI", data, at)
    return kind in TYPES_IN_USE and length <= 16 << 20


def reframed(data):
    """The records of a TABLE_DUMP file as standard one-entry records, or None when none of its
    records is 4 bytes short."""
    out, at, repaired = bytearray(), 0, False
    while at + 12 <= len(data):
        time, kind, subtype, length = struct.unpack_from(">IHHI", data, at)
        end = at + 12 + length
        if kind == 12 and end < len(data) and not plausible(data, end) and (
                end + 4 == len(data) or plausible(data, end + 4)):
            end += 4
            repaired = True
        body = data[at + 12:end]
        if kind != 12 or subtype != 1 or len(body) < 4:
            out += data[at:end]
        else:
            # View and sequence number once, then entries of prefix, length, status, time,
            # peer address, peer AS (18 bytes) and their attributes.
            view, entries = body[:4], body[4:]
            while len(entries) >= 18:
                attributes = struct.unpack_from(">H", entries, 16)[0]
                entry = entries[:18 + attributes]
                out += struct.pack(">IHHI", time, 12, 1, 4 + len(entry)) + view + entry
                entries = entries[18 + attributes:]
        at = end
    return bytes(out) if repaired else None


def bgpdump_lines(path):
    """The fields of each route bgpdump prints: [type, time, A/B, peer, peer AS, prefix, path]."""
    out = subprocess.run(["bgpdump", "-m", path], capture_output=True, check=False)
    for line in out.stdout.decode("utf-8", "replace").splitlines():
        fields = line.split("|")
        if len(fields) > 6 and fields[2] in ("A", "B"):
            # The ADD-PATH forms (TABLE_DUMP2_AP, BGP4MP_AP) put the path identifier before the path.
            if fields[0].endswith("_AP"):
                del fields[6]
            yield fields[:7]


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


def check(zelgrin, mrt, work, family):
    opener = gzip.open if mrt.endswith(".gz") else open
    with opener(mrt, "rb") as f:
        fixed = reframed(f.read())
    source = mrt
    if fixed is not None:
        source = os.path.join(work, "reframed.mrt")
        with open(source, "wb") as f:
            f.write(fixed)
    ipv6 = family == "ipv6"
    entries = [f for f in bgpdump_lines(source) if (":" in f[5]) == ipv6]
    mrt_args = ["--ipv6"] if ipv6 else []
    paths = os.path.join(work, "paths.txt")
    with open(paths, "w") as f:
        for fields in entries:
            f.write(without_sets(fields[6]) + "\n")
    a, b = os.path.join(work, "a.graph"), os.path.join(work, "b.graph")
    run(zelgrin, ["--file:pnec", paths], a)
    run(zelgrin, mrt_args + ["--file:mnec", mrt], b)
    ok = graph_body(a) == graph_body(b)
    verdicts = ["paths " + ("agree" if ok else "DIFFER")]
    twin = twin_of(mrt)
    if not ok and twin and os.path.exists(twin):
        run(zelgrin, mrt_args + ["--file:mnec", twin], a)
        ok = graph_body(a) == graph_body(b)
        verdicts = ["bgpdump misreads its ADD-PATH identifiers; graph %s its twin %s" %
                    ("equals" if ok else "DIFFERS from", os.path.basename(twin))]
    if fixed is not None:
        verdicts.insert(0, "bgpdump read a copy with the records reframed")

    rib = [f for f in entries if f[2] == "B" and not ipv6]
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
        # The classic b reader takes 0.0.0.0/0 for the classful 0.0.0.0 (one address); the
        # default route with a path needs the t reader, which reads the same table otherwise.
        letter = "b"
        if any(fields[5] == "0.0.0.0/0" and fields[6].strip() for fields in rib):
            letter = "t"
        run(zelgrin, ["--file:pne", paths, "--file:%si" % letter, dump], a)
        run(zelgrin, ["--file:pne", paths, "--file:mi", mrt], b)
        same = graph_body(a) == graph_body(b)
        ok = ok and same
        verdicts.append("IP covering " + ("agrees" if same else "DIFFERS"))
    print("%s %s: %d entries; %s" % (os.path.basename(mrt), family, len(entries),
                                     ", ".join(verdicts)))
    return ok


def main():
    args = sys.argv[1:]
    families = ["ipv4", "ipv6"]
    if len(args) > 1 and args[0] == "--family" and args[1] in families:
        families = [args[1]]
        args = args[2:]
    if len(args) < 2:
        print(__doc__)
        return 2
    if subprocess.run(["sh", "-c", "command -v bgpdump"], capture_output=True).returncode != 0:
        print("bgpdump is not installed (tools/install-deps.sh test installs it): skipped")
        return 77
    zelgrin = os.path.abspath(args[0])
    ok = True
    for mrt in args[1:]:
        for family in families:
            with tempfile.TemporaryDirectory() as work:
                ok = check(zelgrin, mrt, work, family) and ok
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
