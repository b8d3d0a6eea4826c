#!/usr/bin/env python3
"""--stats=json adds up: every file given, read with every format letter in both AS widths,
gives readings whose used + skipped equals read, with "applied" (at most used) exactly for the
readings of directions or IP covering, and graph totals that agree with one another.

Usage: stats_sums.py ZELGRIN FILE_OR_FOLDER...   (folders: their files, README and .expected
files left out). Exit 1 with one line per fault."""
import json
import os
import subprocess
import sys

# The richest contents each format letter takes; t and m are read in both passes.
LETTERS = {"b": "i", "s": "nedc", "v": "ned", "p": "nedc", "u": "ne", "t": "neci",
           "r": "ned", "m": "neci", "l": "neci"}


def files_of(arguments):
    for argument in arguments:
        if not os.path.isdir(argument):
            yield argument
            continue
        for name in sorted(os.listdir(argument)):
            path = os.path.join(argument, name)
            if os.path.isfile(path) and name != "README.md" and not name.endswith(".expected"):
                yield path


def check(zelgrin, path, letter, width, faults):
    """Runs one reading; returns False when zelgrin could not read the file."""
    option = "--file:" + letter + LETTERS[letter]
    command = [zelgrin, "--stats=json", "-f", option, path] + width
    run = subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, timeout=600)
    where = " ".join(command[1:])
    lines = [l for l in run.stderr.decode("utf-8").splitlines() if l.startswith("{")]
    if run.returncode != 0:
        if lines:
            faults.append(f"{where}: status {run.returncode} after the statistics")
        return False
    if len(lines) != 1:
        faults.append(f"{where}: {len(lines)} JSON lines")
        return True
    report = json.loads(lines[0])
    for reading in report["files"]:
        skipped = sum(reading["skipped"].values())
        if reading["read"] != reading["used"] + skipped:
            faults.append(f"{where}: read {reading['read']} != used {reading['used']} + "
                          f"skipped {skipped} {reading['skipped']}")
        wants_applied = "d" in reading["letters"][1:] or "i" in reading["letters"][1:]
        if wants_applied != ("applied" in reading):
            faults.append(f"{where}: \"applied\" given for {reading['letters']}")
        if reading.get("applied", 0) > reading["used"]:
            faults.append(f"{where}: applied {reading['applied']} above used")
    graph = report["graph"]
    for total in ("oriented", "path_covering", "ip_covering"):
        if graph[total] > graph["edges"]:
            faults.append(f"{where}: {total} above edges")
    return True


def main():
    zelgrin, arguments = sys.argv[1], sys.argv[2:]
    faults, readings = [], 0
    for path in files_of(arguments):
        # A file no letter can read (a damaged compressed file) gives no report to check.
        for letter in LETTERS:
            for width in ([], ["--as32"]):
                readings += check(zelgrin, path, letter, width, faults)
    for fault in faults:
        print(fault)
    print(f"{readings} runs checked, {len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
