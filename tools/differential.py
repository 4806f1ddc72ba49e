"""Runs the local engine against the BSP engine on many random programs on
small integer grids (the checks of tests/python/lib/grid_harness.py), on
every core, and prints each failure shrunk to a minimal program.

    python3 tools/differential.py --count 200000 [--start 0] [--jobs 2] [--grid 3]
"""

import argparse
import multiprocessing
import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "tests", "python", "lib"))

import grid_harness as gh  # noqa: E402


def _check(args):
    seed, grid = args
    steps = gh.program(seed, grid)
    message = gh.failure(steps)
    if message is None:
        return None
    return seed, message, gh.shrink(steps)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--count", type=int, default=2000)
    parser.add_argument("--start", type=int, default=0)
    parser.add_argument("--jobs", type=int, default=os.cpu_count() or 1)
    parser.add_argument("--grid", type=int, default=None, help="grid side (default: 2 to 4 at random)")
    args = parser.parse_args()
    began = time.perf_counter()
    failures = 0
    work = ((seed, args.grid) for seed in range(args.start, args.start + args.count))
    with multiprocessing.Pool(args.jobs) as pool:
        for done, result in enumerate(pool.imap_unordered(_check, work, chunksize=64), 1):
            if result is not None:
                failures += 1
                seed, message, small = result
                print(f"seed {seed}: {message}\n  shrunk: {small}", flush=True)
            if done % 10000 == 0:
                print(f"{done} programs, {failures} failures, {time.perf_counter() - began:.0f} s", flush=True)
    elapsed = time.perf_counter() - began
    print(
        f"{args.count} programs (seeds {args.start} to {args.start + args.count - 1}), "
        f"{failures} failures, {elapsed:.0f} s on {args.jobs} processes"
    )
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
