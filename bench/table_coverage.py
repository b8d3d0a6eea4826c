#!/usr/bin/env python3
"""What the router table readers make of a directory of real tables.

Usage: bench/table_coverage.py [--16] [--bin PATH] DIR_OR_FILES...

For every file it prints an independent count of its route lines, next to what the modern
reader (letter t, IP covering pass, 32-bit run unless --16) used and skipped by reason, and what
the classic reader (letter b) used. The independent count is deliberately simple and does not
share code with the readers:
  - a table starts at a header line naming Network, Next Hop and Path;
  - a route line is a line in a table whose first word, after at most five status characters,
    is a network (an IPv4 address with or without /len, an IPv6 prefix, or another family's
    prefix such as "[2]..." or "100:1:..."), standing left of the header's Next Hop column; or a
    line with status characters, then blanks, then an address, then nothing or words with a
    digit (a route that repeats the previous network);
  - "Route Distinguisher" lines open VPN routes, until a header or a line that ends a listing
    ("Total number of prefixes", "Displayed", "Processed");
  - IPv4 route lines are those outside VPN sections whose network (or repeated network) is IPv4.
Columns: route lines, VPN route lines, IPv4 route lines; t used, t skipped by reason, route lines
t did not account for (route lines - used - skipped), t used / IPv4; b used, b failed, b used /
IPv4. Totals at the end.
"""
import os
import re
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)

STATUS = r"[*>sdhirSmbxactfLNRVIel&|=#E.]"
HEADER = re.compile(r"Network.*Next[ -]?[Hh]op.*Path")
IPV4 = r"\d{1,3}(?:\.\d{1,3}){3}"
NETWORK = (rf"(?P<net>{IPV4}(?:/\d{{1,2}})?|[0-9A-Za-z]*:[0-9A-Za-z:.]*/\d{{1,3}}"
           rf"|\[\d\S*|\d+:\S*/\d+)")
WITH_NETWORK = re.compile(rf"^\s*(?:{STATUS}(?: ?{STATUS}){{0,4}})?\s*{NETWORK}(?:\s|$)")
REPEATED = re.compile(rf"^\s*{STATUS}(?: ?{STATUS}){{0,4}}\s+"
                      rf"(?:{IPV4}|[0-9A-Fa-f:]*:[0-9A-Fa-f:.]*|-)(?:$|\s.*\d)")
ENDS = re.compile(r"^\s*(Total number of prefixes|Displayed|Processed)")
IS_IPV4 = re.compile(rf"^{IPV4}(?:/\d+)?$")


def count_routes(path):
    routes = vpn_routes = ipv4 = 0
    next_hop_column = None
    in_vpn = False
    previous_ipv4 = False
    with open(path, encoding="latin-1") as f:
        for raw in f:
            line = raw.rstrip("\r\n")
            if "--More--" in line:
                line = re.sub(r"^.*--More--[\b\r ]*", "", line)
            if HEADER.search(line):
                next_hop_column = re.search(r"Next[ -]?[Hh]op", line).start()
                in_vpn = False
                continue
            if "Route Distinguisher" in line:
                in_vpn = True
                continue
            if ENDS.match(line):
                in_vpn = False
                continue
            if next_hop_column is None:
                continue
            match = WITH_NETWORK.match(line)
            if match and match.start("net") + 2 < next_hop_column:
                previous_ipv4 = bool(IS_IPV4.match(match.group("net")))
                is_ipv4 = previous_ipv4
            elif REPEATED.match(line):
                is_ipv4 = previous_ipv4
            else:
                continue
            routes += 1
            if in_vpn:
                vpn_routes += 1
            elif is_ipv4:
                ipv4 += 1
    return routes, vpn_routes, ipv4


def run_readers(binary, files, wide):
    args = [binary] + (["--as32"] if wide else []) + files
    out = subprocess.run(args, check=True, capture_output=True, text=True).stdout
    results = {}
    for line in out.splitlines():
        table, classic = line.split("\t|\t")
        fields = table.split("\t")
        reasons = dict(field.rsplit("=", 1) for field in fields[2:])
        b_used, b_failed = classic.split("\t")
        results[fields[0]] = (int(fields[1]), {k: int(v) for k, v in reasons.items()},
                              int(b_used), int(b_failed))
    return results


def percent(part, whole):
    return f"{100.0 * part / whole:.1f}%" if whole else "-"


def main():
    args = sys.argv[1:]
    wide = True
    binary = os.path.join(ROOT, "build-bench", "bench", "table_coverage")
    while args and args[0].startswith("--"):
        option = args.pop(0)
        if option == "--16":
            wide = False
        elif option == "--bin":
            binary = args.pop(0)
    files = []
    for arg in args:
        if os.path.isdir(arg):
            files += sorted(os.path.join(arg, name) for name in os.listdir(arg))
        else:
            files.append(arg)
    if not os.path.exists(binary):
        subprocess.run(["make", "-C", ROOT, "bench"], check=True, stdout=subprocess.DEVNULL)
    results = run_readers(binary, files, wide)
    print(f"{'file':<62} {'routes':>6} {'vpn':>4} {'ipv4':>5} | {'t used':>6} {'lost':>4} "
          f"{'t cov':>6} | {'b used':>6} {'b fail':>6} {'b cov':>6} | t skipped")
    totals = [0] * 7
    for path in files:
        routes, vpn_routes, ipv4 = count_routes(path)
        used, reasons, b_used, b_failed = results[path]
        lost = routes - used - sum(reasons.values())
        skipped = ", ".join(f"{k} {v}" for k, v in reasons.items())
        print(f"{os.path.basename(path)[:62]:<62} {routes:>6} {vpn_routes:>4} {ipv4:>5} | "
              f"{used:>6} {lost:>4} {percent(used, ipv4):>6} | {b_used:>6} {b_failed:>6} "
              f"{percent(b_used, ipv4):>6} | {skipped}")
        for i, value in enumerate((routes, vpn_routes, ipv4, used, lost, b_used, b_failed)):
            totals[i] += value
    routes, vpn_routes, ipv4, used, lost, b_used, b_failed = totals
    print(f"{'total':<62} {routes:>6} {vpn_routes:>4} {ipv4:>5} | {used:>6} {lost:>4} "
          f"{percent(used, ipv4):>6} | {b_used:>6} {b_failed:>6} {percent(b_used, ipv4):>6} |")


if __name__ == "__main__":
    main()
