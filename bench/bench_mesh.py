"""Meshes through the corvanthium package (medians): Solid.mesh() of the
drilled plates made with the BSP engine, and from_mesh() of a 20,000-triangle
float mesh (read as buffers, converted exactly with the lock released).

    PYTHONPATH=build python3 bench/bench_mesh.py [--runs N]
"""

import argparse
import statistics
import sys
import time
from pathlib import Path

import numpy as np

sys.path.insert(0, str(Path(__file__).resolve().parent))

from plates import circle  # noqa: E402

import corvanthium as cv  # noqa: E402
from corvanthium._solid import _wrap  # noqa: E402


def median_kept(call, runs):
    """Median time of call(), its result kept until the next run starts: freeing
    it is not timed (as in the C++ bench, build/bench_mesh)."""
    kept = []

    def timed():
        kept.clear()
        start = time.perf_counter()
        kept.append(call())
        return time.perf_counter() - start

    return statistics.median(timed() for _ in range(runs))


def bsp_plate(k):
    """The k x k drilled plate, every hole cut by the BSP engine."""
    side = 2 * k + 2
    p = cv.box(side, side, 1, label="plate")
    for i in range(k):
        for j in range(k):
            hole = cv.prism(circle(2 * i + 2, 2 * j + 2), 3, label=f"hole{i}{j}").translate(0, 0, -1)
            p = p.cut(hole, engine="bsp")
    return p


def torus_grid(rings, segments):
    """A closed torus of rings * segments * 2 triangles, as float64 and int64 arrays."""
    u = np.repeat(np.arange(rings), segments) * (2 * np.pi / rings)
    v = np.tile(np.arange(segments), rings) * (2 * np.pi / segments)
    vertices = np.stack([(2 + np.cos(v)) * np.cos(u), (2 + np.cos(v)) * np.sin(u), np.sin(v)], axis=1)
    i, j = np.divmod(np.arange(rings * segments), segments)
    a, b = i * segments + j, ((i + 1) % rings) * segments + j
    c, d = ((i + 1) % rings) * segments + (j + 1) % segments, i * segments + (j + 1) % segments
    faces = np.concatenate([np.stack([a, b, c], 1), np.stack([a, c, d], 1)]).astype(np.int64)
    return vertices, faces


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--runs", type=int, default=15)
    args = parser.parse_args()
    rows = []
    for k, limit in ((3, 0.020), (6, 0.150)):
        p = bsp_plate(k)
        mesh = p.mesh()
        # A solid keeps its mesh: each run meshes a fresh one over the same core.
        t = median_kept(lambda p=p: _wrap(p._core).mesh(), args.runs)
        rows.append((f"mesh() of the {k * k}-hole plate", p.polygon_count, len(mesh.faces), t, limit))
    vertices, faces = torus_grid(100, 100)
    t = median_kept(lambda: cv.from_mesh(vertices, faces), args.runs)
    rows.append(("from_mesh() of a float torus", len(faces), cv.from_mesh(vertices, faces).polygon_count, t, 0.100))
    exact = cv.from_mesh(vertices, faces).mesh()
    t = median_kept(lambda: cv.from_mesh(exact), max(3, args.runs // 3))
    rows.append(("from_mesh(Mesh) (exact vertices)", len(exact.faces), len(exact.faces), t, None))
    print(f"{'workload':36} {'in':>8} {'out':>8} {'median ms':>10} {'limit ms':>9}")
    for name, n_in, n_out, t, limit in rows:
        bound = f"{limit * 1e3:9.0f}" if limit else f"{'':9}"
        print(f"{name:36} {n_in:8} {n_out:8} {t * 1e3:10.1f} {bound}")
    print("(in/out: polygons and triangles for mesh(); triangles and polygons for from_mesh())")


if __name__ == "__main__":
    main()
