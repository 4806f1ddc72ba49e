"""The chamfer of every edge on non-convex parts: the library's chamfer
(Solid.chamfer) beside the construction by oversized cutter solids
(method="cutters", wrong on these parts but timed for scale), on an
L-bracket (2 mm), a 20 x 20 x 3 plate with a square hole and a pocket
(1/2), and a heat sink of 30 fins on a base (1/2). Prints each part's edge
count, the median time of each construction (a single run for one over
2 s), and the volumes each gives beside the part's own.

    PYTHONPATH=build python3 bench/bench_chamfer.py [--runs 7]
"""

import argparse
import sys
import time
from fractions import Fraction

import corvanthium as cv
from timing import median_seconds

L_BRACKET = [(0, 0), (60, 0), (60, 6), (6, 6), (6, 50), (0, 50)]


def parts():
    """(name, solid, dist) for each part."""
    fins = [cv.box(Fraction(3, 2), 60, 31).translate(1 + Fraction(10, 3) * i, 0, 4) for i in range(30)]
    plate = cv.box(20, 20, 3) - cv.box(4, 4, 5).translate(3, 3, -1) - cv.box(6, 5, 2).translate(10, 10, 2)
    return [
        ("L-bracket", cv.prism(L_BRACKET, 40), 2),
        ("plate, hole and pocket", plate, Fraction(1, 2)),
        ("heat sink, 30 fins", cv.union_all([cv.box(100, 60, 5), *fins]), Fraction(1, 2)),
    ]


def seconds(call, runs):
    """The median of runs calls, or the one call's time when that takes over 2 s."""
    start = time.perf_counter()
    call()
    first = time.perf_counter() - start
    return first if first > 2 else median_seconds(call, runs)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--runs", type=int, default=7)
    runs = parser.parse_args().runs
    print(f"{'part':<24} {'edges':>6} {'chamfer':>10} {'cutters':>10}   volume: part / chamfer / cutters")
    for name, solid, dist in parts():
        ours = seconds(lambda s=solid, d=dist: s.chamfer(d), runs)
        cutters = seconds(lambda s=solid, d=dist: s.chamfer(d, method="cutters"), runs)
        volumes = [solid.volume, solid.chamfer(dist).volume, solid.chamfer(dist, method="cutters").volume]
        shown = " / ".join(f"{float(v):.6g}" for v in volumes)
        print(f"{name:<24} {len(solid.edges()):>6} {ours * 1000:>8.1f}ms {cutters * 1000:>8.1f}ms   {shown}")
    sys.stdout.flush()


if __name__ == "__main__":
    main()
