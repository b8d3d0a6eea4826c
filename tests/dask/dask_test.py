#!/usr/bin/python3
"""zelgrin-dask end to end: its checks of the command line, a local cluster, a real cluster.

Usage: dask_test.py CASE ZELGRIN ZELGRIN_DASK    exit 0 passed, 1 failed, 77 skipped
  cli      refused manifests and command lines, the snapshots of a pattern (no dask needed)
  local    a local cluster of 2 workers: graphs byte-equal to sequential zelgrin runs, a corrupt
           input failing its snapshot only, a rerun building only what is not up to date, and
           the total equal to one --sum of the graphs (when zelgrin has --sum)
  cluster  dask-scheduler and 2 dask-worker processes on 127.0.0.1; one worker is killed with
           SIGKILL mid-run, and the job still writes every graph right
Every process the test starts is killed when it ends, passed or not.
"""
import gzip
import json
import os
import random
import signal
import subprocess
import sys
import tempfile
import time

SKIP = 77


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def run_tool(tool, arguments, cwd, timeout=120):
    """Runs zelgrin-dask with this interpreter (the one that has dask); returns the run."""
    return subprocess.run([sys.executable, tool] + arguments, cwd=cwd, timeout=timeout,
                          stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                          stderr=subprocess.PIPE, text=True)


def write_paths(path, seed, lines, repeat=1):
    """A path list of LINES random AS paths, written REPEAT times (gzip when PATH ends .gz)."""
    rng = random.Random(seed)
    block = "".join(" ".join(str(rng.randint(1, 400)) for _ in range(rng.randint(2, 6))) + "\n"
                    for _ in range(lines))
    opener = gzip.open if path.endswith(".gz") else open
    with opener(path, "wt") as stream:
        for _ in range(repeat):
            stream.write(block)


def write_dump(path, seed):
    """A router table dump of 200 routes over the ASes of write_paths."""
    rng = random.Random(seed)
    with open(path, "w") as stream:
        stream.write("   Network          Next Hop            Metric LocPrf Weight Path\n")
        for i in range(200):
            route = " ".join(str(rng.randint(1, 400)) for _ in range(rng.randint(1, 4)))
            stream.write("*> %-16s 192.0.2.1%30s %s i\n" % ("10.%d.0.0/16" % i, "0", route))


def write_manifest(path, rows):
    with open(path, "w") as stream:
        stream.write("snapshot,letters,file,vantage\n")
        for row in rows:
            stream.write(",".join(row + ("",) * (4 - len(row))) + "\n")


def reference_graphs(zelgrin, tool, manifest, outdir, cwd, options):
    """Each snapshot's graph from a sequential zelgrin run of the command zelgrin-dask shows."""
    listing = run_tool(tool, ["--zelgrin", zelgrin, "--dry-run", "--force", "-o", outdir,
                              manifest, "--"] + options, cwd)
    check(listing.returncode == 0, "dry run failed: " + listing.stderr)
    graphs, made = {}, {}  # the output's name is not in the graph: one run per command
    with tempfile.TemporaryDirectory() as scratch:
        for line in listing.stdout.splitlines():
            name, command = line.split(": ", 1)
            arguments = command.split(" ")
            out = os.path.join(scratch, name + ".graph")
            arguments[arguments.index("-o") + 1] = out
            key = " ".join(arguments).replace(out, "")
            if key not in made:
                subprocess.run(arguments, cwd=cwd, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
                made[key] = read(out) if os.path.exists(out) else None
            graphs[name] = made[key]
    return graphs


def read(path):
    with open(path, "rb") as stream:
        return stream.read()


# ---------------------------------------------------------------------------------------------

BAD_MANIFESTS = [
    # manifest text, expected message
    ("", "m.csv: empty manifest"),
    ("snapshot,file\n", "m.csv:1: the header names no `letters' column"),
    ("snapshot,letters,file,when\n", "m.csv:1: unknown column `when'"),
    ("snapshot,letters,file\n", "m.csv: no snapshot"),
    ("snapshot,letters,file\na,pne\n", "m.csv:2: 2 fields where the header names 3"),
    ("snapshot,letters,file\n\nx/y,pne,f\n", "m.csv:3: snapshot name `x/y' holds a slash"),
    ("snapshot,letters,file\n..,pne,f\n", "m.csv:2: snapshot name `..' begins with a dot"),
    ("snapshot,letters,file\n,pne,f\n", "m.csv:2: empty snapshot name"),
    ("snapshot,letters,file\na,xne,f\n", "m.csv:2: letters `xne' do not begin with a format"),
    ("snapshot,letters,file\na,p,f\n", "m.csv:2: letters `p' need content letters"),
    ("snapshot,letters,file\na,pnn,f\n", "m.csv:2: letters `pnn' repeat a content letter"),
    ("snapshot,letters,file\na,pne,\n", "m.csv:2: empty file name"),
    ("snapshot,letters,file,vantage\na,Bi,f,\n", "m.csv:2: letters `Bi' need a vantage AS"),
    ("snapshot,letters,file,vantage\na,Bi,f,x\n", "m.csv:2: vantage `x' is not an AS number"),
    ("snapshot,letters,file,vantage\na,pne,f,7018\n", "m.csv:2: letters `pne' take no vantage"),
    ("snapshot,letters,file\na,pne,f\nb,pne,\"f\n", "m.csv:3: unexpected end of data"),
]

BAD_COMMAND_LINES = [
    ([], "give a MANIFEST, or --pattern and --every"),
    (["m.csv", "--pattern", "x%Y"], "give a MANIFEST or --pattern, not both"),
    (["--pattern", "x%Y%m"], "--pattern needs --every"),
    (["--pattern", "x%Y%m", "--every", "day"], "pattern `x%Y%m' has no %d"),
    (["--pattern", "x%Y%m%q", "--every", "day"], "unknown field `%q'"),
    (["--pattern", "x%Y%m", "--every", "month", "--from", "2026-13"], "--from `2026-13': no such"),
    (["--pattern", "x%Y%m", "--every", "month", "--letters", "Bi"], "need a vantage AS"),
    (["m.csv", "--every", "day"], "--every goes with --pattern"),
    (["m.csv", "--scheduler", "tcp://127.0.0.1:1", "--workers", "2"], "not with --scheduler"),
    (["m.csv", "--", "--sum"], "--sum cannot be a ZELGRIN-OPTION"),
    (["m.csv", "--zelgrin", "/nonexistent"], "zelgrin not found at `/nonexistent'"),
]


def test_cli(zelgrin, tool, work):
    """Refused inputs name the line and the reason, status 2; a pattern's snapshots."""
    manifest = os.path.join(work, "m.csv")
    for text, expected in BAD_MANIFESTS:
        with open(manifest, "w") as stream:
            stream.write(text)
        run = run_tool(tool, ["--zelgrin", zelgrin, "--dry-run", "-o", "out", "m.csv"], work)
        check(run.returncode == 2 and expected in run.stderr,
              "manifest %r: status %d, %r" % (text, run.returncode, run.stderr))
    write_manifest(manifest, [("a", "pne", "f")])
    for arguments, expected in BAD_COMMAND_LINES:
        zelgrin_option = [] if "--zelgrin" in arguments else ["--zelgrin", zelgrin]
        run = run_tool(tool, zelgrin_option + ["--dry-run", "-o", "out"] + arguments, work)
        check(run.returncode == 2 and expected in run.stderr,
              "%s: status %d, %r" % (arguments, run.returncode, run.stderr))

    # Fields that repeat must agree (the 2026.11 folder's file is not of November), invalid
    # dates are skipped with a warning, the files of a period are taken in order of their time
    # (rrc01's file of midnight before rrc00's of 8:00).
    for name in ["rrc00/2026.12/rib.20261201.0800.bz2", "rrc01/2026.12/rib.20261201.0000.bz2",
                 "rrc00/2026.12/rib.20261202.0000.bz2", "rrc00/2026.11/rib.20261201.0000.bz2",
                 "rrc00/2026.12/rib.20261232.0000.bz2", "rrc00/2027.01/rib.20270101.0000.bz2",
                 "rrc00/2026.12/other.txt"]:
        os.makedirs(os.path.join(work, os.path.dirname(name)), exist_ok=True)
        open(os.path.join(work, name), "w").close()
    pattern = ["--pattern", "rrc*/%Y.%m/rib.%Y%m%d.%H%M.bz2"]
    first_day = ["rrc01/2026.12/rib.20261201.0000.bz2", "rrc00/2026.12/rib.20261201.0800.bz2"]
    expected = {
        ("--every", "day"): [
            ("2026-12-01", first_day),
            ("2026-12-02", ["rrc00/2026.12/rib.20261202.0000.bz2"]),
            ("2027-01-01", ["rrc00/2027.01/rib.20270101.0000.bz2"])],
        ("--every", "month", "--to", "2026-12", "--letters", "Tnc", "--vantage", "7018"): [
            ("2026-12", first_day + ["rrc00/2026.12/rib.20261202.0000.bz2"])],
    }
    for every, snapshots in expected.items():
        run = run_tool(tool, ["--zelgrin", zelgrin, "--dry-run", "-o", "out"] + pattern +
                       list(every), work)
        check(run.returncode == 0, "pattern %s: %s" % (every, run.stderr))
        check("rib.20261232.0000.bz2: not a valid date, skipped" in run.stderr,
              "no warning of the invalid date: " + run.stderr)
        letters = "--file:Tnc 7018" if "Tnc" in every else "--file:mneci"
        got = [(line.split(": ")[0], line.split(".graph ", 1)[1])
               for line in run.stdout.splitlines()]
        want = [(name, " ".join(letters + " " + f for f in files)) for name, files in snapshots]
        check(got == want, "pattern %s: %r, expected %r" % (every, got, want))


    check_cgroup_cpu_limit(tool, work)


def check_cgroup_cpu_limit(tool, work):
    """The tasks' share of a machine's cores honours a CPU quota as zelgrin's default -j does:
    the least of the cgroup's and those above it (v2), the container's own at the mount (v1)."""
    import importlib.machinery
    import importlib.util
    loader = importlib.machinery.SourceFileLoader("zelgrin_dask", tool)
    module = importlib.util.module_from_spec(importlib.util.spec_from_loader(loader.name, loader))
    loader.exec_module(module)
    tree = os.path.join(work, "cgroups")
    files = {
        "v2/mountinfo": "30 23 0:26 / %s/cg rw shared:9 - cgroup2 cgroup2 rw\n" % tree,
        "v2/cgroup": "0::/batch/job\n",
        "cg/batch/cpu.max": "250000 100000\n",
        "cg/batch/job/cpu.max": "max 100000\n",
        "v1/mountinfo": "32 31 0:29 /docker/abc %s/cpu rw - cgroup cgroup rw,cpu,cpuacct\n" % tree,
        "v1/cgroup": "4:cpu,cpuacct:/docker/abc\n",
        "cpu/cpu.cfs_quota_us": "150000\n",
        "cpu/cpu.cfs_period_us": "100000\n",
    }
    for name, text in files.items():
        os.makedirs(os.path.dirname(os.path.join(tree, name)), exist_ok=True)
        with open(os.path.join(tree, name), "w") as stream:
            stream.write(text)
    for kind, cores in [("v2", 3), ("v1", 2), ("none", 0)]:
        got = module.cgroup_cpu_limit(os.path.join(tree, kind, "mountinfo"),
                                      os.path.join(tree, kind, "cgroup"))
        check(got == cores, "CPU quota of %s: %d cores, expected %d" % (kind, got, cores))


# ---------------------------------------------------------------------------------------------

def make_local_inputs(work):
    """Six snapshots of path lists and a dump (the letter B and its vantage column), and one
    whose gzip path list is cut short."""
    for k in range(4):
        write_paths(os.path.join(work, "paths%d.txt" % k), seed=k, lines=3000)
    write_dump(os.path.join(work, "dump.txt"), seed=9)
    write_paths(os.path.join(work, "whole.gz"), seed=5, lines=3000)
    with open(os.path.join(work, "whole.gz"), "rb") as stream:
        data = stream.read()
    with open(os.path.join(work, "cut.gz"), "wb") as stream:
        stream.write(data[:len(data) // 2])
    rows = []
    for i in range(6):
        rows += [("s%d" % i, "pnedc", "paths%d.txt" % (i % 4)),
                 ("s%d" % i, "pnec", "paths%d.txt" % ((i + 1) % 4))]
        if i % 2:
            rows.append(("s%d" % i, "Bi", "dump.txt", "7018"))
    rows.append(("broken", "pnec", "cut.gz"))
    write_manifest(os.path.join(work, "m.csv"), rows)


def graph_times(outdir):
    return {name: os.stat(os.path.join(outdir, name)).st_mtime_ns
            for name in os.listdir(outdir) if name.endswith(".graph")}


def test_local(zelgrin, tool, work):
    make_local_inputs(work)
    options = ["--as32", "--exact-covering"]
    outdir = os.path.join(work, "out")
    base = ["--zelgrin", zelgrin, "--workers", "2", "-o", "out", "m.csv", "--"] + options
    expected = reference_graphs(zelgrin, tool, "m.csv", outdir, work, options)
    check(expected["broken"] is None and all(expected["s%d" % i] for i in range(6)),
          "the reference runs went wrong")

    run = run_tool(tool, base, work)
    check(run.returncode == 1, "status %d with a corrupt input: %s" % (run.returncode, run.stderr))
    check("snapshot broken failed (exit status 2):" in run.stderr and
          "gzip: unexpected end of compressed data" in run.stderr and
          "failed snapshots: broken\n" in run.stderr, "failure not reported: " + run.stderr)
    check(not os.path.exists(os.path.join(outdir, "broken.graph")), "broken.graph written")
    for i in range(6):
        name = "s%d" % i
        check(read(os.path.join(outdir, name + ".graph")) == expected[name],
              name + ".graph differs from the sequential run's")
        stats = read(os.path.join(outdir, name + ".stats")).decode()
        check(stats.startswith("# zelgrin -f --stats -o ") and "\nGraph: " in stats,
              name + ".stats: " + stats)

    # Up to date: a dry run says so, unless forced or run with other options.
    def up_to_date(extra, zelgrin_options):
        run = run_tool(tool, ["--zelgrin", zelgrin, "--dry-run", "-o", "out", "m.csv"] + extra +
                       ["--"] + zelgrin_options, work)
        return sorted(line.split(" ")[0] for line in run.stdout.splitlines()
                      if " (up to date): " in line)
    check(up_to_date([], options) == ["s%d" % i for i in range(6)], "not up to date")
    check(up_to_date(["--force"], options) == [], "--force still up to date")
    check(up_to_date([], ["--as32"]) == [], "other options still up to date")

    # The input mended: the rerun builds that snapshot alone, and the total when --sum exists.
    os.replace(os.path.join(work, "whole.gz"), os.path.join(work, "cut.gz"))
    before = graph_times(outdir)
    total = ["--total", "total.graph"]
    run = run_tool(tool, total + base, work)
    check(run.returncode == 0, "rerun: status %d: %s" % (run.returncode, run.stderr))
    after = graph_times(outdir)
    check(set(after) == set(before) | {"broken.graph"} and
          all(after[name] == before[name] for name in before),
          "the rerun rebuilt up-to-date graphs")
    check("7 snapshots: 1 built, 6 up to date, 0 failed" in run.stderr, run.stderr)
    if total:  # the total equals one --sum of the snapshots' graphs
        graphs = [os.path.join("out", "s%d.graph" % i) for i in range(6)] + ["out/broken.graph"]
        subprocess.run([zelgrin, "--as32", "-f", "-o", "flat.graph", "--sum"] + graphs,
                       cwd=work, check=True, stderr=subprocess.DEVNULL)
        check(read(os.path.join(work, "total.graph")) == read(os.path.join(work, "flat.graph")),
              "the tree total differs from one --sum of the graphs")


# ---------------------------------------------------------------------------------------------

class Processes:
    """Processes started in sessions of their own, killed (with what they started) at the end."""

    def __init__(self, work):
        self.work, self.started = work, []

    def start(self, name, arguments):
        log = open(os.path.join(self.work, name + ".log"), "w")
        process = subprocess.Popen(arguments, cwd=self.work, stdin=subprocess.DEVNULL,
                                   stdout=log, stderr=subprocess.STDOUT, start_new_session=True)
        self.started.append((name, process))
        return process

    def kill_all(self):
        for _, process in self.started:
            try:
                os.killpg(process.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
            process.wait()

    def logs(self):
        text = ""
        for name, _ in self.started:
            with open(os.path.join(self.work, name + ".log")) as stream:
                text += "--- %s\n%s" % (name, stream.read()[-3000:])
        return text


def wait_for(condition, seconds, what):
    deadline = time.monotonic() + seconds
    while not condition():
        check(time.monotonic() < deadline, "timed out waiting for " + what)
        time.sleep(0.1)


def test_cluster(zelgrin, tool, work):
    # Tasks of about half a second, whatever the build (a sanitized zelgrin is much slower):
    # each snapshot reads a large path list as many times as that takes.
    large = os.path.join(work, "large.txt")
    write_paths(large, seed=1, lines=4000, repeat=30)
    started = time.monotonic()
    subprocess.run([zelgrin, "-f", "-o", os.path.join(work, "timing.graph"), "--file:pnec",
                    large], check=True, stderr=subprocess.DEVNULL)
    copies = max(1, min(20, round(0.5 / (time.monotonic() - started))))
    for k in range(3):
        write_paths(os.path.join(work, "small%d.txt" % k), seed=10 + k, lines=500)
    rows = []
    for i in range(12):
        rows += [("s%02d" % i, "pnedc", "small%d.txt" % (i % 3))]
        rows += [("s%02d" % i, "pnec", "large.txt")] * copies
    write_manifest(os.path.join(work, "m.csv"), rows)
    outdir = os.path.join(work, "out")
    expected = reference_graphs(zelgrin, tool, "m.csv", outdir, work, [])

    processes = Processes(work)
    try:
        python = sys.executable
        processes.start("scheduler", [python, "-m", "distributed.cli.dask_scheduler",
                                      "--host", "127.0.0.1", "--port", "0", "--no-dashboard",
                                      "--scheduler-file", "scheduler.json"])
        wait_for(lambda: os.path.exists(os.path.join(work, "scheduler.json")), 40, "scheduler")
        time.sleep(0.2)  # the file is written whole, but let it be closed
        with open(os.path.join(work, "scheduler.json")) as stream:
            address = json.load(stream)["address"]
        check(address.startswith("tcp://127.0.0.1:"), "scheduler at " + address)
        workers = [processes.start("worker%d" % k, [
            python, "-m", "distributed.cli.dask_worker", address, "--no-nanny", "--nthreads",
            "1", "--host", "127.0.0.1", "--no-dashboard", "--local-directory",
            os.path.join(work, "worker%d" % k)]) for k in range(2)]
        wait_for(lambda: all("Registered to:" in open(os.path.join(work, "worker%d.log" % k)).read()
                             for k in range(2)), 40, "the workers")

        # The tasks' command lines are logged, to see the -j each worker gave them.
        logged = os.path.join(work, "zelgrin-logged")
        commands = os.path.join(work, "commands.txt")
        with open(logged, "w") as stream:
            stream.write('#!/bin/sh\necho "$*" >> "%s"\nexec "%s" "$@"\n' % (commands, zelgrin))
        os.chmod(logged, 0o755)
        job = processes.start("job", [python, tool, "--zelgrin", logged, "--scheduler",
                                      address, "-o", "out", "m.csv"])
        wait_for(lambda: os.path.isdir(outdir) and any(name.endswith(".graph")
                                                      for name in os.listdir(outdir)),
                 60, "the first graph")
        workers[0].kill()  # SIGKILL: the worker goes without a word to the scheduler
        done = sum(name.endswith(".graph") for name in os.listdir(outdir))
        check(job.poll() is None and done < 12, "the job ended before the kill: slower tasks")
        status = job.wait(timeout=90)
        check(status == 0, "status %d after the kill" % status)
        for name, graph in expected.items():
            check(read(os.path.join(outdir, name + ".graph")) == graph,
                  name + ".graph differs from the sequential run's")
        # The two workers of one thread each share this machine's cores.
        share = "-j %d " % max(1, len(os.sched_getaffinity(0)) // 2)
        builds = [line for line in open(commands).read().splitlines() if line != "--help-all"]
        check(builds and all(line.startswith(share) for line in builds),
              "tasks without `%s': %s" % (share, builds[:3]))
        print("killed worker 0 after %d of 12 graphs (%d copies a task); the job completed" % (
            done, copies))
    except (Failure, subprocess.TimeoutExpired):
        print(processes.logs())
        raise
    finally:
        processes.kill_all()


# ---------------------------------------------------------------------------------------------

def main():
    case, zelgrin, tool = sys.argv[1], os.path.abspath(sys.argv[2]), os.path.abspath(sys.argv[3])
    if case != "cli":
        try:
            import dask.distributed  # noqa: F401
        except ImportError:
            print("skipped: dask.distributed cannot be imported by %s "
                  "(Debian: python3-dask python3-distributed)" % sys.executable)
            return SKIP
    test = {"cli": test_cli, "local": test_local, "cluster": test_cluster}[case]
    with tempfile.TemporaryDirectory() as work:
        started = time.monotonic()
        try:
            test(zelgrin, tool, work)
        except Failure as failure:
            print("FAILED: %s" % failure)
            return 1
        print("passed in %.1f s" % (time.monotonic() - started))
    return 0


if __name__ == "__main__":
    sys.exit(main())
