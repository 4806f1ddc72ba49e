"""Designer's calls timed: a 256-sided cylinder, a flange with a 12-hole bolt circle
(polar_pattern and one cut_all pass), the inertia of a plate with 36 round holes, a
30-degree turn of that plate, and the per-call cost of the package's Python layer on
a box cut (a - b against the native call it wraps). Medians.

    PYTHONPATH=build python3 bench/bench_parts.py [--runs 7]
"""

import argparse

import corvanthium as cv
from timing import median_seconds


def flange():
    disc = cv.cylinder(50, 8, 96) | cv.cylinder(24, 12, 64).translate(0, 0, 8)
    holes = cv.polar_pattern(cv.cylinder(4, 20, 24).translate(37, 0, -5), 12)
    return disc.cut_all([cv.cylinder(14, 30, 48).translate(0, 0, -5), holes])


def plate():
    holes = [cv.cylinder(3, 9, 24).translate(8 + 9 * i, 8 + 9 * j, -2) for i in range(6) for j in range(6)]
    return cv.box(62, 62, 5).cut_all(holes)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--runs", type=int, default=7)
    runs = parser.parse_args().runs
    part = plate()
    a, b = cv.box(2, 2, 2), cv.box(2, 2, 2).translate(1, 1, 1)
    rows = [
        ("cylinder(5, 10, 256)", median_seconds(lambda: cv.cylinder(5, 10, 256), runs)),
        ("flange, 12 bolt holes", median_seconds(flange, runs)),
        ("36-hole plate: inertia", median_seconds(lambda: part.inertia, runs)),
        ("36-hole plate: rotate z 30", median_seconds(lambda: part.rotate("z", 30), runs)),
        ("box cut a - b", median_seconds(lambda: a - b, runs, inner=2000)),
        ("box cut, native call", median_seconds(lambda: a._core.cut(b._core), runs, inner=2000)),
    ]
    for name, seconds in rows:
        print(f"{name:32s} {seconds * 1000:10.3f} ms")
    print(f"{'Python layer per call':32s} {(rows[-2][1] - rows[-1][1]) * 1e6:10.2f} us")


if __name__ == "__main__":
    main()
