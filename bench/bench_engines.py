"""The two Boolean engines side by side, and many operands at once: the
drilled k x k plates by k*k sequential cuts on each engine and by one
cut_all, and unions of n shifted unit boxes by sequential unions on each
engine and by one union_all. Medians (one run for calls slower than two
seconds). Every local result is checked against the BSP one (same_shape and
the same volume).

    PYTHONPATH=build python3 bench/bench_engines.py [--runs N] [--plates 3,6,12] [--boxes 12,48,192]
"""

import argparse
import sys
import time
from fractions import Fraction
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

from plates import circle  # noqa: E402

import corvanthium as cv  # noqa: E402
from timing import median_seconds  # noqa: E402


def holes(k):
    return [
        cv.prism(circle(2 * i + 2, 2 * j + 2), 3, label=f"hole{i}{j}").translate(0, 0, -1)
        for i in range(k)
        for j in range(k)
    ]


def boxes(n):
    return [cv.box(1, 1, 1, label=f"b{i}").translate(Fraction(i, 3), Fraction(i, 5), Fraction(i, 7)) for i in range(n)]


def sequential_cuts(blank, tools, engine):
    s = blank
    for t in tools:
        s = s.cut(t, engine=engine)
    return s


def sequential_unions(solids, engine):
    s = solids[0]
    for t in solids[1:]:
        s = s.union(t, engine=engine)
    return s


def timed(call, runs):
    start = time.perf_counter()
    result = call()
    first = time.perf_counter() - start
    if first > 2 or runs <= 1:
        return first, result
    return median_seconds(call, runs - 1), result


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--plates", default="3,6,12")
    parser.add_argument("--boxes", default="12,48,192")
    args = parser.parse_args()
    print("| workload | polygons | bsp sequential s | local sequential s | local all-at-once s | bsp / all-at-once |")
    print("| --- | ---: | ---: | ---: | ---: | ---: |")
    for k in (int(v) for v in args.plates.split(",")):
        report(f"plate({k}), {k * k} holes", plate_row(k, args.runs))
    for n in (int(v) for v in args.boxes.split(",")):
        report(f"union of {n} boxes", box_row(n, args.runs))


def plate_row(k, runs):
    blank, tools = cv.box(2 * k + 2, 2 * k + 2, 1, label="plate"), holes(k)
    row = [timed(lambda e=e: sequential_cuts(blank, tools, e), runs) for e in ("bsp", "local")]
    row.append(timed(lambda: blank.cut_all(tools, engine="local"), runs))
    return row


def box_row(n, runs):
    solids = boxes(n)
    row = [timed(lambda e=e: sequential_unions(solids, e), runs) for e in ("bsp", "local")]
    row.append(timed(lambda: cv.union_all(solids, engine="local"), runs))
    return row


def report(name, row):
    (bsp_t, bsp), (seq_t, seq), (all_t, one) = row
    for s in (seq, one):
        assert s.is_watertight and s.volume == bsp.volume and s.same_shape(bsp), name
    print(
        f"| {name} | {bsp.polygon_count:,} / {seq.polygon_count:,} / {one.polygon_count:,} | {bsp_t:.3f} "
        f"| {seq_t:.3f} | {all_t:.3f} | {bsp_t / all_t:.1f}x |"
    )


if __name__ == "__main__":
    main()
