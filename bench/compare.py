"""Side-by-side timing of two builds of the extension.

Builds two revisions (default: HEAD~1 and the working tree), each in its own
folder under /tmp (a git worktree for a revision, a Release build of the
extension only), then runs the chosen workloads of bench/workloads.py in fresh
processes, interleaved A, B, A, B, ..., and prints for each workload the
median of both builds, their ratio and the spread of each.

With --paired every fresh process loads both builds and alternates batches of
A and B (which build goes first alternates from process to process); B/A is
then the median of the per-process ratios. Pairing cancels the slow drifts of
a shared machine's speed, which otherwise hide differences of a few per cent.
It only works for builds that link the kernel into the extension: builds
whose kernel is the shared library libcorvanthium.core.so cannot share a
process (it would load one kernel for both), and --paired refuses them.

    python3 bench/compare.py                      # HEAD~1 against the working tree
    python3 bench/compare.py main~3 main          # two revisions
    python3 bench/compare.py --runs 21 --only boolean. ssi.depth_6
    python3 bench/compare.py --paired 54c168b HEAD
    python3 bench/compare.py --runs 5 --samples 1 --only boolean.plate_12 HEAD~1 HEAD

For chains of Booleans it also prints the cost per operand polygon: the
median over the polygons of both operands, summed over the chain's Booleans.
"""

import argparse
import os
import statistics
import subprocess
import sys
from pathlib import Path

HERE = Path(__file__).resolve().parent
REPO = HERE.parent
WORKTREE = "worktree"  # names the working tree as a revision
SCRATCH = Path(os.environ.get("CORV_COMPARE_DIR", "/tmp/corvanthium-compare"))


def git(*args, cwd=REPO):
    return subprocess.run(["git", *args], cwd=cwd, check=True, capture_output=True, text=True).stdout.strip()


def source_of(rev):
    """The source folder of a revision: the repository itself for the working
    tree, otherwise a detached worktree of that commit under SCRATCH."""
    if rev == WORKTREE:
        return REPO, "worktree"
    sha = git("rev-parse", "--verify", f"{rev}^{{commit}}")
    folder = SCRATCH / f"src-{sha[:12]}"
    if not folder.exists():
        SCRATCH.mkdir(parents=True, exist_ok=True)
        git("worktree", "add", "--detach", str(folder), sha)
    return folder, sha[:12]


def build(rev, jobs):
    """Builds the extension of rev (Release, no tests) and returns its folder."""
    source, tag = source_of(rev)
    out = SCRATCH / f"build-{tag}"
    configure = ["cmake", "-S", str(source), "-B", str(out), "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Release"]
    subprocess.run([*configure, "-DCORVANTHIUM_TESTS=OFF"], check=True, stdout=subprocess.DEVNULL)
    target = ["cmake", "--build", str(out), "-j", str(jobs), "--target", "corvanthium_rs"]
    subprocess.run(target, check=True, stdout=subprocess.DEVNULL)
    return out


def run_workload(name, samples, *build_dirs):
    """The numbers that one fresh process of run_workload.py prints."""
    args = [sys.executable, str(HERE / "run_workload.py"), name, str(samples), *map(str, build_dirs)]
    return [float(x) for x in subprocess.run(args, check=True, capture_output=True, text=True).stdout.split()]


def measure(name, builds, runs, samples, paired):
    """Per build the per-process times, and the per-process B/A ratios (paired runs only)."""
    times = {"A": [], "B": []}
    ratios = []
    for i in range(runs):
        if not paired:
            for label in ("A", "B"):
                times[label] += run_workload(name, samples, builds[label])
            continue
        first, second = ("A", "B") if i % 2 == 0 else ("B", "A")
        t_first, t_second, ratio = run_workload(name, samples, builds[first], builds[second])
        times[first].append(t_first)
        times[second].append(t_second)
        ratios.append(ratio if first == "A" else 1 / ratio)
    return times, ratios


def spread(values):
    """The interquartile range as a share of the median (0 for a single value)."""
    if len(values) < 2:
        return 0.0
    q = statistics.quantiles(values, n=4)
    return (q[2] - q[0]) / statistics.median(values)


def main():
    sys.path.insert(0, str(HERE))
    from run_workload import load, shares_core_library

    from workloads import input_polygons, names

    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("a", nargs="?", default="HEAD~1", help="revision A (default HEAD~1)")
    parser.add_argument("b", nargs="?", default=WORKTREE, help=f"revision B (default: the {WORKTREE})")
    parser.add_argument("--runs", type=int, default=15, help="processes per workload (and build) (default 15)")
    parser.add_argument("--samples", type=int, default=5, help="timed batches per process (the fastest counts)")
    parser.add_argument("--only", nargs="*", default=None, help="workload names or name prefixes")
    parser.add_argument("--jobs", type=int, default=2, help="parallel build jobs")
    parser.add_argument("--paired", action="store_true", help="both builds in every process, batches alternating")
    args = parser.parse_args()

    chosen = [n for n in names() if not args.only or any(n.startswith(p) for p in args.only)]
    if not chosen:
        parser.error("no workload matches --only")
    builds = {label: build(rev, args.jobs) for label, rev in (("A", args.a), ("B", args.b))}
    if args.paired and shares_core_library([builds["A"], builds["B"]]):
        parser.error("--paired: both builds link the kernel as one shared library, which a process loads once")
    how = "paired processes (both builds in each)" if args.paired else "interleaved processes per build"
    print(f"A = {args.a}, B = {args.b}; {args.runs} {how} and workload, fastest of {args.samples} batches each")
    print("ns/poly: the median divided by the polygons of the operands, summed over the Booleans of the workload")
    print(
        f"{'workload':<30} {'A median':>12} {'B median':>12} {'B/A':>7} {'A spread':>9} {'B spread':>9}"
        f" {'A ns/poly':>10} {'B ns/poly':>10}"
    )
    module_b = load(builds["B"])
    for name in chosen:
        polygons = input_polygons(name, module_b)
        times, ratios = measure(name, builds, args.runs, args.samples, args.paired)
        ma, mb = statistics.median(times["A"]), statistics.median(times["B"])
        ratio = statistics.median(ratios) if ratios else mb / ma
        print(
            f"{name:<30} {ma * 1e3:9.3f} ms {mb * 1e3:9.3f} ms {ratio:7.3f} {spread(times['A']):8.1%} "
            f"{spread(times['B']):8.1%}"
            + (f" {ma / polygons * 1e9:10.0f} {mb / polygons * 1e9:10.0f}" if polygons else ""),
            flush=True,
        )


if __name__ == "__main__":
    main()
