"""Prints the median time of each workload of one group (or of all).

Run with the built module on the path:  PYTHONPATH=build python3 bench/bench.py [group] [runs]
"""

import sys

import corvanthium_rs
from timing import median_seconds
from workloads import names, prepared


def main():
    group = sys.argv[1] if len(sys.argv) > 1 and sys.argv[1] != "all" else None
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 7
    for name in names(group):
        call, inner = prepared(name, corvanthium_rs)
        call()  # warm-up
        seconds = median_seconds(call, runs, inner=inner)
        print(f"{name:<32} {seconds * 1e3:10.3f} ms  (median of {runs} runs)", flush=True)


if __name__ == "__main__":
    main()
