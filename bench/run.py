#!/usr/bin/env python3
"""Extraction benchmark: the tool against the floor program, bsdtar and cp, from one run.

Programs are run interleaved (tool, floor, bsdtar, ... then again), each into a fresh directory,
and every comparison is the median of the per-round ratios, with min and max. Deleting the
outputs is not timed and happens only at the end: right after many files are deleted, creating
files is much slower for some minutes on this kind of disk, so let the machine settle between
two runs of this script.

  run.py --tool BUILD/vostrel_dat --floor BUILD/bench_floor [--size full|tiny] [--rounds N]
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))

SIZES = {
    # name: (small members, many members, scale base, large members, large MiB, rounds)
    "full": (20000, 200000, 20000, 8, 128, 5),
    "tiny": (200, 2000, 200, 2, 2, 1),
}


def make(shape, out, *args):
    if not os.path.exists(out):
        subprocess.run([sys.executable, os.path.join(HERE, "make_archive.py"), shape, *map(str, args), out],
                       check=True)
    return out


def peak_rss(argv, cwd):
    """The peak RSS of argv in KiB, run in cwd. Measured by GNU time, whose small process starts
    the program: a child started from this script shares the interpreter's memory until it execs,
    and its peak would count the interpreter too."""
    report = os.path.join(cwd, "..", os.path.basename(cwd) + ".rss")
    spawn(["/usr/bin/time", "-f", "%M", "-o", report] + argv, cwd, check=False)
    with open(report) as f:
        return int(f.read().split()[-1])


def spawn(argv, cwd, check=True):
    """Runs argv in cwd with output discarded; returns its wall time in seconds."""
    here = os.getcwd()
    os.chdir(cwd)
    try:
        start = time.perf_counter()
        pid = os.posix_spawn(argv[0], argv, os.environ, file_actions=[
            (os.POSIX_SPAWN_OPEN, 1, os.devnull, os.O_WRONLY, 0),
            (os.POSIX_SPAWN_OPEN, 2, os.devnull, os.O_WRONLY, 0)])
        _, status, _ = os.wait4(pid, 0)
        seconds = time.perf_counter() - start
    finally:
        os.chdir(here)
    code = os.waitstatus_to_exitcode(status)
    if check and code != 0:
        sys.exit("%s failed with status %d" % (" ".join(argv), code))
    return seconds


class Runner:
    def __init__(self, root):
        self.root = root
        self.serial = 0

    def fresh_dir(self, label):
        self.serial += 1
        path = os.path.join(self.root, "runs", "%s-%04d" % (label, self.serial))
        os.makedirs(path)
        return path

    def run(self, label, argv, keep=True):
        """Runs argv in a fresh directory; returns (seconds, directory)."""
        cwd = self.fresh_dir(label)
        seconds = spawn(argv, cwd)
        if not keep:
            shutil.rmtree(cwd)
        return seconds, cwd


def compare(runner, archive_label, programs, rounds, keep=True):
    """programs: list of (label, argv). Returns {label: [seconds per round]}."""
    times = {label: [] for label, _ in programs}
    for _ in range(rounds):
        for label, argv in programs:
            seconds, _ = runner.run(archive_label + "-" + label, argv, keep)
            times[label].append(seconds)
    return times


def ratio_stats(a, b):
    ratios = [x / y for x, y in zip(a, b)]
    return statistics.median(ratios), min(ratios), max(ratios)


def same_tree(a, b):
    return subprocess.run(["diff", "-r", "-q", a, b], stdout=subprocess.DEVNULL).returncode == 0


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--tool", required=True)
    parser.add_argument("--floor", required=True)
    parser.add_argument("--size", choices=SIZES, default="full")
    parser.add_argument("--rounds", type=int)
    parser.add_argument("--workdir", help="where archives and outputs go (default: a new temporary directory)")
    args = parser.parse_args()
    n_small, n_many, n_scale, n_large, large_mib, rounds = SIZES[args.size]
    rounds = args.rounds or rounds
    tool, floor = os.path.abspath(args.tool), os.path.abspath(args.floor)
    bsdtar = shutil.which("bsdtar")
    if bsdtar is None:
        sys.exit("bsdtar not found (Debian package libarchive-tools)")

    root = args.workdir or tempfile.mkdtemp(prefix="vostrel_bench-", dir="/var/tmp")
    os.makedirs(os.path.join(root, "archives"), exist_ok=True)
    runner = Runner(root)
    arc = lambda name: os.path.join(root, "archives", name)

    print("generating archives in %s" % root, flush=True)
    small = make("small", arc("small-%d.dat" % n_small), n_small)
    many = make("many", arc("many-%d.dat" % n_many), n_many)
    scale_base = make("many", arc("many-%d.dat" % n_scale), n_scale)
    large = make("large", arc("large-%dx%d.dat" % (n_large, large_mib)), n_large, large_mib)
    claim_count = make("claim_count", arc("claim_count.dat"))
    claim_size = make("claim_size", arc("claim_size.dat"))

    # A tar of exactly the files the tool makes, for bsdtar; and a check that the floor makes the
    # same files, so the comparison is fair.
    tars = {}
    for name, archive, floor_mode in (("small", small, "write"), ("many", many, "write"),
                                      ("large", large, "copy")):
        _, reference = runner.run("reference-" + name, [tool, archive])
        _, floored = runner.run("check-floor-" + name, [floor, floor_mode, archive])
        if not same_tree(reference, floored):
            sys.exit("the floor's output differs from the tool's on " + name)
        tars[name] = arc(name + ".tar")
        subprocess.run([bsdtar, "-cf", tars[name], "-C", reference, "."], check=True)
        if name == "large":
            shutil.rmtree(reference)
            shutil.rmtree(floored)

    rows = []

    def row(what, stats, bar=None, ok=None):
        median, lo, hi = stats
        verdict = "" if ok is None else ("yes" if ok else "NO")
        rows.append((what, "%.3f" % median, "%.3f" % lo, "%.3f" % hi, bar or "", verdict))

    print("timing small: %d members of 1-8 KiB" % n_small, flush=True)
    t = compare(runner, "small", [("tool", [tool, small]), ("floor", [floor, "write", small]),
                                  ("bsdtar", [bsdtar, "-xf", tars["small"]])], rounds)
    s = ratio_stats(t["tool"], t["floor"])
    row("small: tool / floor", s, "<= 1.10", s[0] <= 1.10)
    s = ratio_stats(t["tool"], t["bsdtar"])
    row("small: tool / bsdtar", s, "< 1", s[0] < 1)
    small_floor_seconds = statistics.median(t["floor"])

    print("timing many: %d members of 0-64 bytes" % n_many, flush=True)
    t = compare(runner, "many", [("tool", [tool, many]), ("floor", [floor, "write", many]),
                                 ("bsdtar", [bsdtar, "-xf", tars["many"]])], rounds)
    s = ratio_stats(t["tool"], t["floor"])
    row("many: tool / floor", s, "<= 1.10", s[0] <= 1.10)
    s = ratio_stats(t["tool"], t["bsdtar"])
    row("many: tool / bsdtar", s, "< 1", s[0] < 1)
    many_times = t

    print("timing scale: %d members of 0-64 bytes" % n_scale, flush=True)
    t = compare(runner, "scale", [("tool", [tool, scale_base]), ("floor", [floor, "write", scale_base])], rounds)
    tool_scale = statistics.median(many_times["tool"]) / statistics.median(t["tool"])
    floor_scale = statistics.median(many_times["floor"]) / statistics.median(t["floor"])
    rel = tool_scale / floor_scale
    rows.append(("scale: t(%d)/t(%d), tool vs floor" % (n_many, n_scale), "%.2f vs %.2f" % (tool_scale, floor_scale),
                 "", "", "within 1.15x", "yes" if rel <= 1.15 else "NO"))

    print("timing large: %d members of %d MiB" % (n_large, large_mib), flush=True)
    t = compare(runner, "large", [("tool", [tool, large]), ("floor", [floor, "copy", large]),
                                  ("bsdtar", [bsdtar, "-xf", tars["large"]]),
                                  ("cp", [shutil.which("cp"), large, "."])], rounds, keep=False)
    s = ratio_stats(t["tool"], t["floor"])
    row("large: tool / copy_file_range floor", s, "<= 1.15", s[0] <= 1.15)
    s = ratio_stats(t["tool"], t["bsdtar"])
    row("large: tool / bsdtar", s, "< 1", s[0] < 1)
    row("large: tool / cp", ratio_stats(t["tool"], t["cp"]))

    rss_rows = []
    for what, archive in (("large", large), ("small", small), ("many", many),
                          ("1 KiB claiming 2^31-1 members", claim_count),
                          ("member claiming 2^31-1 bytes", claim_size)):
        cwd = runner.fresh_dir("rss")
        rss_rows.append((what, peak_rss([tool, archive], cwd)))
        if what == "large":
            shutil.rmtree(cwd)

    print()
    print("| comparison | median | min | max | bar | meets |")
    print("|---|---|---|---|---|---|")
    for r in rows:
        print("| %s |" % " | ".join(r))
    print()
    print("| peak RSS of the tool | MiB | bar | meets |")
    print("|---|---|---|---|")
    for what, kib in rss_rows:
        print("| %s | %.1f | < 16 | %s |" % (what, kib / 1024, "yes" if kib < 16 * 1024 else "NO"))
    print()
    print("floor on small: %.2f s; %d rounds" % (small_floor_seconds, rounds))

    if not args.workdir:
        print("removing %s (untimed; let the disk settle before timing again)" % root, flush=True)
        shutil.rmtree(root)


if __name__ == "__main__":
    main()
