"""A long prism cut by a box, on both exact engines: an n-sided prism over
rational points of a circle of radius 10 (height 30) minus a 4 x 30 x 40
box through its middle, for n = 250 ... 20,000. Prints the median time of
each engine per size, the local engine's share of the BSP engine's time,
manifold3d's time on the same points in floats when it is installed (a
float peer), the growth exponent of each engine between the smallest and
the largest size (time ~ n^k), and each engine's peak memory at the
largest size (a fresh process each).

    PYTHONPATH=build python3 bench/bench_long_prism.py [--sizes 250,1000,4000,20000] [--runs 3]
"""

import argparse
import math
import subprocess
import sys
import time
from fractions import Fraction

import corvanthium as cv


def circle(n, r=10, d=10**6):
    """n points of the circle of radius r, exactly on it (from the tangent
    of the half angle, rounded to 1/d), evenly spread to within that."""
    points = []
    for i in range(n):
        t = Fraction(round(math.tan((-math.pi + (i + 0.5) * 2 * math.pi / n) / 2) * d), d)
        points.append((r * (1 - t * t) / (1 + t * t), r * 2 * t / (1 + t * t)))
    return points


def operands(n):
    return cv.prism(circle(n), 30), cv.box(4, 30, 40).translate(-2, -15, -5)


def seconds(n, engine, runs):
    prism, cutter = operands(n)
    times = []
    for _ in range(runs):
        start = time.perf_counter()
        prism.cut(cutter, engine=engine)
        times.append(time.perf_counter() - start)
        if times[-1] > 2:
            break
    times.sort()
    return times[len(times) // 2]


def peer_seconds(n, runs):
    """manifold3d (floating point) on the same cut, or None when not installed."""
    try:
        import manifold3d as m
    except ImportError:
        return None
    points = [(float(x), float(y)) for x, y in circle(n)]
    prism = m.CrossSection([points]).extrude(30)
    cutter = m.Manifold.cube((4, 30, 40)).translate((-2, -15, -5))
    prism.num_tri()  # the extrusion is made before the clock starts, as ours is
    times = []
    for _ in range(runs):
        start = time.perf_counter()
        (prism - cutter).num_tri()  # Booleans are lazy: counting forces one
        times.append(time.perf_counter() - start)
    times.sort()
    return times[len(times) // 2]


def peak_mib(n, engine):
    """Peak resident memory of a fresh process that builds and cuts the prism."""
    code = (
        f"import resource, sys; sys.path.insert(0, {sys.path[0]!r}); import bench_long_prism as b; "
        f"p, c = b.operands({n}); p.cut(c, engine={engine!r}); "
        "print(resource.getrusage(resource.RUSAGE_SELF).ru_maxrss)"
    )
    out = subprocess.run([sys.executable, "-c", code], capture_output=True, text=True, check=True)
    return int(out.stdout) / 1024


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--sizes", default="250,500,1000,2000,4000,10000,20000")
    parser.add_argument("--runs", type=int, default=3)
    args = parser.parse_args()
    sizes = [int(s) for s in args.sizes.split(",")]
    table = {}
    print(f"{'sides':>7} {'local s':>9} {'bsp s':>9} {'local/bsp':>10} {'manifold3d s':>13} {'local/m3d':>10}")
    for n in sizes:
        local, bsp = seconds(n, "local", args.runs), seconds(n, "bsp", args.runs)
        peer = peer_seconds(n, args.runs)
        table[n] = (local, bsp)
        peer_cols = f"{peer:>13.4f} {local / peer:>10.2f}" if peer else f"{'-':>13} {'-':>10}"
        print(f"{n:>7} {local:>9.4f} {bsp:>9.4f} {local / bsp:>10.3f} {peer_cols}", flush=True)
    if len(sizes) > 1:
        lo, hi = sizes[0], sizes[-1]
        for k, name in enumerate(("local", "bsp")):
            slope = math.log(table[hi][k] / table[lo][k]) / math.log(hi / lo)
            print(f"{name}: time ~ n^{slope:.2f} from {lo} to {hi} sides")
    for name in ("local", "bsp"):
        print(f"{name}: peak memory at {sizes[-1]} sides {peak_mib(sizes[-1], name):.0f} MiB")


if __name__ == "__main__":
    main()
