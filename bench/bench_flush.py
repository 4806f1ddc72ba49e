"""Booleans where faces lie flush, beside manifold3d (float) in the same run:
a hub standing on a disc (round shapes with whole caps, and prisms of the same
outlines with triangulated caps), a 700-sided cylinder on its copy, an
icosphere and a torus united with and cut by themselves, and a plate with 100
holes flush with its faces against holes that overshoot them. Medians; the
last column is corvanthium's time over manifold3d's.

    PYTHONPATH=build python3 bench/bench_flush.py [--runs 5]
"""

import argparse
import sys
from pathlib import Path

import numpy as np

sys.path.insert(0, str(Path(__file__).resolve().parent))

from bench_mesh import torus_grid  # noqa: E402

import corvanthium as cv  # noqa: E402
from timing import median_seconds  # noqa: E402


def icosphere():
    import trimesh

    s = trimesh.creation.icosphere(5)
    return np.asarray(s.vertices), np.asarray(s.faces)


def ours():
    """(name, operation) for corvanthium."""
    disc, hub = cv.cylinder(50, 8, 128), cv.cylinder(25, 12, 64).translate(0, 0, 8)
    disc_p, hub_p = cv.prism(cv.circle(50, 128), 8), cv.prism(cv.circle(25, 64), 12).translate(0, 0, 8)
    long = cv.cylinder(10, 10, 700)
    on_top = long.translate(0, 0, 10)
    ball = cv.from_mesh(*icosphere())
    ring = cv.from_mesh(*torus_grid(100, 100))
    plate = cv.box(110, 110, 5)
    flush = [cv.cylinder(2, 5, 16).translate(10 + 10 * i, 10 + 10 * j, 0) for i in range(10) for j in range(10)]
    through = [cv.cylinder(2, 7, 16).translate(10 + 10 * i, 10 + 10 * j, -1) for i in range(10) for j in range(10)]
    return [
        ("hub on disc (cylinders)", lambda: disc | hub),
        ("hub on disc (prisms)", lambda: disc_p | hub_p),
        ("700-gon cylinder | copy on it", lambda: long | on_top),
        ("icosphere 20,480 | itself", lambda: ball | ball),
        ("icosphere 20,480 - itself", lambda: ball - ball),
        ("torus 20,000 | itself", lambda: ring | ring),
        ("plate - 100 holes, flush", lambda: plate.cut_all(flush)),
        ("plate - 100 holes, through", lambda: plate.cut_all(through)),
    ]


def theirs():
    """The same operations for manifold3d (lazy: counting triangles forces each)."""
    import manifold3d as m3

    def mesh(vertices, faces):
        return m3.Manifold(
            m3.Mesh(vert_properties=np.asarray(vertices, np.float32), tri_verts=np.asarray(faces, np.uint32))
        )

    def cyl(r, h, n, z=0.0):
        return m3.Manifold.cylinder(h, r, r, n).translate((0, 0, z))

    disc, hub = cyl(50, 8, 128), cyl(25, 12, 64, 8)
    long, on_top = cyl(10, 10, 700), cyl(10, 10, 700, 10)
    ball, ring = mesh(*icosphere()), mesh(*torus_grid(100, 100))
    plate = m3.Manifold.cube((110, 110, 5))
    flush = [cyl(2, 5, 16).translate((10 + 10 * i, 10 + 10 * j, 0)) for i in range(10) for j in range(10)]
    through = [cyl(2, 7, 16).translate((10 + 10 * i, 10 + 10 * j, -1)) for i in range(10) for j in range(10)]

    def cut_all(a, holes):
        return a - m3.Manifold.batch_boolean(holes, m3.OpType.Add)

    return [
        lambda: (disc + hub).num_tri(),
        lambda: (disc + hub).num_tri(),
        lambda: (long + on_top).num_tri(),
        lambda: (ball + ball).num_tri(),
        lambda: (ball - ball).num_tri(),
        lambda: (ring + ring).num_tri(),
        lambda: cut_all(plate, flush).num_tri(),
        lambda: cut_all(plate, through).num_tri(),
    ]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--runs", type=int, default=5)
    runs = parser.parse_args().runs
    try:
        peer = theirs()
    except ImportError:
        peer = None
    print(f"{'case':34} {'corvanthium':>12} {'manifold3d':>11} {'ratio':>7}")
    for k, (name, op) in enumerate(ours()):
        t = median_seconds(op, runs)
        if peer is None:
            print(f"{name:34} {t * 1e3:10.1f}ms")
            continue
        u = median_seconds(peer[k], runs)
        print(f"{name:34} {t * 1e3:10.1f}ms {u * 1e3:9.1f}ms {t / u:7.1f}")


if __name__ == "__main__":
    main()
