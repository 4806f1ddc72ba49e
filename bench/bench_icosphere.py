"""An icosphere cut by a copy of itself moved by (1/3, 1/5, 1/7), through the
package: the localized engine at subdivisions 3..6 (1,280 to 81,920 input
triangles), the BSP engine at 3..4, and manifold3d (floating point) as a
peer when installed. Each case runs in a process of its own, so that its peak
resident memory is its own. Prints triangles in and out, medians, time per
input triangle, the cost exponent between sizes, and whether the localized
engine's results are watertight.

    PYTHONPATH=build python3 bench/bench_icosphere.py [--runs N] [--largest SUB]
"""

import argparse
import json
import math
import os
import resource
import subprocess
import sys
from fractions import Fraction
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

from timing import median_seconds  # noqa: E402

SHIFT = (Fraction(1, 3), Fraction(1, 5), Fraction(1, 7))


def run_case(sub, engine, runs):
    """One case in this process: a dict of what the table shows."""
    import trimesh

    sphere = trimesh.creation.icosphere(subdivisions=sub)
    if engine == "manifold3d":
        import manifold3d
        import numpy as np

        def body(shift):
            mesh = manifold3d.Mesh(
                vert_properties=np.asarray(sphere.vertices + shift, dtype=np.float32),
                tri_verts=np.asarray(sphere.faces, dtype=np.uint32),
            )
            return manifold3d.Manifold(mesh)

        a, b = body(np.zeros(3)), body(np.array([float(s) for s in SHIFT]))
        t = median_seconds(lambda: (a - b).num_tri(), runs)  # Booleans are lazy: count to force one
        out, watertight = (a - b).num_tri(), (a - b).status() == manifold3d.Error.NoError
    else:
        import corvanthium as cv

        a = cv.from_mesh(sphere.vertices, sphere.faces)
        b = a.translate(*SHIFT)
        t = median_seconds(lambda: a.cut(b, engine=engine), runs)
        result = a.cut(b, engine=engine)
        mesh = result.mesh()
        shape = trimesh.Trimesh(vertices=mesh.vertices, faces=mesh.faces, process=False)
        out, watertight = len(mesh.faces), bool(result.is_watertight and shape.is_watertight and shape.volume > 0)
    rss_kib = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss
    return {"in": 2 * len(sphere.faces), "out": out, "seconds": t, "watertight": watertight, "rss_kib": rss_kib}


def case_in_subprocess(sub, engine, runs):
    command = [sys.executable, __file__, "--case", str(sub), engine, str(runs)]
    done = subprocess.run(command, capture_output=True, text=True, env=os.environ, check=False)
    if done.returncode != 0:
        return {"error": done.stderr.strip().splitlines()[-1] if done.stderr.strip() else "failed"}
    return json.loads(done.stdout)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--runs", type=int, default=5, help="runs at subdivision 3 (fewer for larger ones)")
    parser.add_argument("--largest", type=int, default=6)
    parser.add_argument("--case", nargs=3, help=argparse.SUPPRESS)
    args = parser.parse_args()
    if args.case:
        print(json.dumps(run_case(int(args.case[0]), args.case[1], int(args.case[2]))))
        return
    try:
        import manifold3d  # noqa: F401

        peers = ["manifold3d"]
    except ImportError:
        peers = []
    plan = [("local", s) for s in range(3, args.largest + 1)] + [("bsp", s) for s in (3, 4) if s <= args.largest]
    plan += [(p, s) for p in peers for s in range(3, args.largest + 1)]
    header = f"{'engine':11} {'sub':>3} {'tris in':>8} {'tris out':>8} {'median ms':>10} {'us/tri in':>9}"
    print(header + f" {'exponent':>8} {'watertight':>10} {'peak RSS MiB':>12}")
    previous = {}
    for engine, sub in plan:
        runs = 1 if engine == "bsp" and sub > 3 else max(1, args.runs >> max(0, sub - 3))  # the BSP one takes minutes
        r = case_in_subprocess(sub, engine, runs)
        if "error" in r:
            print(f"{engine:11} {sub:3} failed: {r['error']}")
            continue
        exponent = ""
        if engine in previous:
            n0, t0 = previous[engine]
            exponent = f"{math.log(r['seconds'] / t0) / math.log(r['in'] / n0):8.2f}"
        previous[engine] = (r["in"], r["seconds"])
        print(
            f"{engine:11} {sub:3} {r['in']:8} {r['out']:8} {r['seconds'] * 1e3:10.1f} "
            f"{r['seconds'] / r['in'] * 1e6:9.2f} {exponent:>8} {str(r['watertight']):>10} "
            f"{r['rss_kib'] / 1024:12.0f}"
        )
    print("(tris in: both operands; exponent: log(time ratio) / log(size ratio) from the size before)")


if __name__ == "__main__":
    main()
