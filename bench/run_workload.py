"""Timed batches of one workload in a process of its own (used by compare.py).

    run_workload.py NAME SAMPLES BUILD            one build: seconds per call
    run_workload.py NAME SAMPLES BUILD_1 BUILD_2  both builds in this process,
                                                  batches alternating 1, 2, 1, 2

After one untimed warm-up call per build, times SAMPLES batches of the
workload's calls per build and prints, per build, the seconds per call of the
fastest batch (the one least disturbed by the rest of the machine); with two
builds it also prints the median ratio of the paired batches (2 over 1).
"""

import glob
import importlib.util
import statistics
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

from workloads import prepared  # noqa: E402


def load(build_dir):
    """The extension module of one build folder, loaded under its own name."""
    path = glob.glob(str(Path(build_dir) / "corvanthium_rs*.so"))[0]
    spec = importlib.util.spec_from_file_location("corvanthium_rs", path)
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    return module


def batch(call, inner):
    start = time.perf_counter()
    for _ in range(inner):
        call()
    return (time.perf_counter() - start) / inner


def shares_core_library(build_dirs):
    """Whether the builds link the kernel as the shared library of one name:
    a process loads that library once, so a second build's extension would
    run on the first build's kernel."""
    names = ("libcorvanthium.core.so", "libcorvanthium_core.so")  # now, and in older builds
    return len(build_dirs) > 1 and all(any((Path(d) / "corvanthium" / n).exists() for n in names) for d in build_dirs)


def main():
    name, samples, builds = sys.argv[1], int(sys.argv[2]), sys.argv[3:]
    if shares_core_library(builds):
        sys.exit(
            "these builds share the kernel library's name, and one process holds only one of them: "
            "time them in processes of their own"
        )
    calls = []
    for build_dir in builds:
        call, inner = prepared(name, load(build_dir))
        call()
        calls.append(call)
    times = [[] for _ in calls]
    for _ in range(samples):
        for k, call in enumerate(calls):
            times[k].append(batch(call, inner))
    line = " ".join(f"{min(t):.9f}" for t in times)
    if len(calls) == 2:
        line += f" {statistics.median(b / a for a, b in zip(times[0], times[1])):.6f}"
    print(line)


if __name__ == "__main__":
    main()
