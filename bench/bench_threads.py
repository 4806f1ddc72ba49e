"""Two threads building different 6 x 6 plates against one thread building
both in turn. The package releases the interpreter lock while the kernel
works, so on two cores the threaded run should take about half the time.

    PYTHONPATH=build python3 bench/bench_threads.py [--runs N] [--k K]
"""

import argparse
import statistics
import sys
import threading
import time
from fractions import Fraction
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

from plates import plate  # noqa: E402

RADII = (Fraction(3, 5), Fraction(1, 2))


def serial(k):
    return [plate(k, r) for r in RADII]


def threaded(k):
    results = [None, None]

    def build(i):
        results[i] = plate(k, RADII[i])

    threads = [threading.Thread(target=build, args=(i,)) for i in range(2)]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    return results


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--runs", type=int, default=7)
    parser.add_argument("--k", type=int, default=6)
    args = parser.parse_args()
    expected = [p.canonical() for p in serial(args.k)]
    times = {"serial": [], "threads": []}
    for _ in range(args.runs):  # interleaved, so drift hits both alike
        for name, run in (("serial", serial), ("threads", threaded)):
            start = time.perf_counter()
            plates = run(args.k)
            times[name].append(time.perf_counter() - start)
            assert [p.canonical() for p in plates] == expected
    s, t = statistics.median(times["serial"]), statistics.median(times["threads"])
    counts = f"{plates[0].polygon_count} and {plates[1].polygon_count} polygons"
    print(f"{args.k} x {args.k} plates ({counts}), {args.runs} runs")
    print(f"  one thread, both plates in turn: median {s * 1000:8.1f} ms")
    print(f"  two threads, one plate each:     median {t * 1000:8.1f} ms")
    print(f"  ratio threads / serial:          {t / s:.2f} (target at most 0.60)")


if __name__ == "__main__":
    main()
