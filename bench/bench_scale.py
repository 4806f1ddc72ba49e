"""Booleans at scale: the drilled k x k plates (k = 3, 6, 12; one cut per
hole) and the unions of n shifted unit boxes (n = 12, 48, 192), on the
low-level module, with the cost per operand polygon per Boolean; beside
them, when manifold3d is installed (optional, floating point), the same
workloads with its default lazy evaluation and one Boolean at a time.
Medians (a single run for calls slower than two seconds).

    PYTHONPATH=build python3 bench/bench_scale.py [--runs N] [--plates 3,6] [--boxes 12,48]
    PYTHONPATH=build python3 bench/bench_scale.py --memory BUILD_DIR [BUILD_DIR ...]

--memory prints, for each build folder, the peak resident memory of a fresh
process that builds the 6 x 6 plate, and its rise above the interpreter with
the module imported.
"""

import argparse
import resource
import subprocess
import sys
import time
from fractions import Fraction
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.path.insert(0, str(HERE))

from workloads import circle_outline, input_polygons, plate_of, union_of  # noqa: E402


def timed(call, runs):
    start = time.perf_counter()
    call()
    first = time.perf_counter() - start
    if first > 2 or runs <= 1:
        return first
    times = []
    for _ in range(runs - 1):
        start = time.perf_counter()
        call()
        times.append(time.perf_counter() - start)
    times.sort()
    return times[len(times) // 2]


def peer_plate(m, k, eager):
    outline = circle_outline(2, 2)
    points = [(float(Fraction(outline[i])), float(Fraction(outline[i + 1]))) for i in range(0, len(outline), 2)]
    hole = m.CrossSection([points]).extrude(3)
    holes = [hole.translate((2 * i, 2 * j, -1)) for i in range(k) for j in range(k)]

    def run():
        side = 2 * k + 2
        plate = m.Manifold.cube((side, side, 1))
        for h in holes:
            plate = plate - h
            if eager:
                plate.num_tri()
        return plate.num_tri()

    return run


def peer_union(m, n, eager):
    boxes = [m.Manifold.cube((1, 1, 1)).translate((i / 3, i / 5, i / 7)) for i in range(n)]

    def run():
        acc = boxes[0]
        for b in boxes[1:]:
            acc = acc + b
            if eager:
                acc.num_tri()
        return acc.num_tri()

    return run


def scale(args):
    import corvanthium_rs as cr

    try:
        import manifold3d
    except ImportError:
        manifold3d = None
    cases = [(f"plate {k}x{k}", f"boolean.plate_{k}x{k}_holes", plate_of(k), k, peer_plate) for k in args.plates]
    cases += [(f"union {n}", f"boolean.union_{n}_boxes", union_of(n), n, peer_union) for n in args.boxes]
    head = f"{'workload':<14} {'exact':>11} {'ns/poly':>8}"
    if manifold3d is not None:
        head += f" {'peer lazy':>11} {'peer eager':>11} {'exact/eager':>12}"
    print("exact: corvanthium_rs; ns/poly: the median over the operands' polygons summed over the Booleans")
    if manifold3d is not None:
        print("peer: manifold3d (floating point), lazy (its default) and forced after every Boolean (eager)")
    else:
        print("(manifold3d is not installed: pip install manifold3d to see it beside)")
    print(head)
    for label, name, setup, size, peer in cases:
        exact = timed(setup(cr), args.runs)
        polygons = input_polygons(name, cr)
        line = f"{label:<14} {exact * 1e3:8.1f} ms {exact / polygons * 1e9:8.0f}"
        if manifold3d is not None:
            lazy = timed(peer(manifold3d, size, False), args.runs)
            eager = timed(peer(manifold3d, size, True), args.runs)
            line += f" {lazy * 1e3:8.1f} ms {eager * 1e3:8.1f} ms {exact / eager:12.1f}"
        print(line, flush=True)


MEMORY_CHILD = """
import resource, sys
sys.path.insert(0, {bench!r})
import corvanthium_rs as cr
from workloads import plate_of
before = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss
plate_of(6)(cr)()
after = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss
print(after, after - before)
"""


def memory(builds):
    print(f"{'build':<50} {'peak':>9} {'above import':>13}")
    for build in builds:
        child = MEMORY_CHILD.format(bench=str(HERE))
        env = {"PYTHONPATH": str(Path(build).resolve())}
        out = subprocess.run([sys.executable, "-c", child], env=env, check=True, capture_output=True, text=True)
        peak, rise = (int(x) / 1024 for x in out.stdout.split())
        print(f"{build:<50} {peak:6.1f} MB {rise:10.1f} MB")
    bare = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss / 1024
    print(f"(this interpreter, for reference: {bare:.1f} MB)")


def sizes(text):
    return [int(x) for x in text.split(",") if x]


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--plates", type=sizes, default=[3, 6, 12])
    parser.add_argument("--boxes", type=sizes, default=[12, 48, 192])
    parser.add_argument("--memory", nargs="+", metavar="BUILD_DIR")
    args = parser.parse_args()
    if args.memory:
        memory(args.memory)
    else:
        scale(args)


if __name__ == "__main__":
    main()
