"""Side-by-side timing of two builds of the extension.

Builds two revisions (default: HEAD~1 and the working tree), each in its own
folder under /tmp (a git worktree for a revision, a Release build of the
extension only), then runs the chosen workloads of bench/workloads.py in fresh
processes, interleaved A, B, A, B, ..., and prints for each workload the
median of both builds, their ratio and the spread of each.

    python3 bench/compare.py                      # HEAD~1 against the working tree
    python3 bench/compare.py main~3 main          # two revisions
    python3 bench/compare.py --runs 21 --only boolean. ssi.depth_6
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
    subprocess.run(
        ["cmake", "--build", str(out), "-j", str(jobs), "--target", "corvanthium_rs"],
        check=True,
        stdout=subprocess.DEVNULL,
    )
    return out


def sample(build_dir, name, samples):
    env = dict(os.environ, PYTHONPATH=os.pathsep.join([str(build_dir), str(HERE)]))
    run = subprocess.run(
        [sys.executable, str(HERE / "run_workload.py"), name, str(samples)],
        env=env,
        check=True,
        capture_output=True,
        text=True,
    )
    return float(run.stdout.split()[-1])


def workload_names(build_dir):
    env = dict(os.environ, PYTHONPATH=os.pathsep.join([str(build_dir), str(HERE)]))
    run = subprocess.run(
        [sys.executable, "-c", "import workloads; print(*workloads.names())"],
        env=env,
        check=True,
        capture_output=True,
        text=True,
    )
    return run.stdout.split()


def spread(times):
    """The interquartile range as a share of the median (0 for a single run)."""
    if len(times) < 2:
        return 0.0
    q = statistics.quantiles(times, n=4)
    return (q[2] - q[0]) / statistics.median(times)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("a", nargs="?", default="HEAD~1", help="revision A (default HEAD~1)")
    parser.add_argument("b", nargs="?", default=WORKTREE, help=f"revision B (default: the {WORKTREE})")
    parser.add_argument("--runs", type=int, default=15, help="processes per workload and build (default 15)")
    parser.add_argument("--samples", type=int, default=5, help="timed batches per process (the fastest counts)")
    parser.add_argument("--only", nargs="*", default=None, help="workload names or name prefixes")
    parser.add_argument("--jobs", type=int, default=2, help="parallel build jobs")
    args = parser.parse_args()

    builds = {label: build(rev, args.jobs) for label, rev in (("A", args.a), ("B", args.b))}
    everything = workload_names(builds["B"])
    chosen = [n for n in everything if not args.only or any(n.startswith(p) for p in args.only)]
    if not chosen:
        parser.error("no workload matches --only")
    print(f"A = {args.a}, B = {args.b}; {args.runs} interleaved processes per build and workload")
    print(f"{'workload':<30} {'A median':>12} {'B median':>12} {'B/A':>7} {'A spread':>9} {'B spread':>9}")
    for name in chosen:
        times = {"A": [], "B": []}
        for _ in range(args.runs):
            for label in ("A", "B"):
                times[label].append(sample(builds[label], name, args.samples))
        ma, mb = statistics.median(times["A"]), statistics.median(times["B"])
        print(
            f"{name:<30} {ma * 1e3:9.3f} ms {mb * 1e3:9.3f} ms {mb / ma:7.3f} {spread(times['A']):8.1%} "
            f"{spread(times['B']):8.1%}",
            flush=True,
        )


if __name__ == "__main__":
    main()
