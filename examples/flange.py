"""A flange, exactly: a disc with a raised hub, a bore through both and a
circle of bolt holes, made from exact round shapes, a polar pattern and one
pass of cuts, its rims bevelled by 1 (the hub's foot filled, the holes
countersunk). Prints its exact mass properties and writes a picture
(flange.png, with matplotlib) into a directory.

    python3 examples/flange.py [DIRECTORY]
"""

import sys
import time
from pathlib import Path

import corvanthium as cv


def make_flange(bolts: int = 8) -> cv.Solid:
    """A disc of radius 50 and thickness 8 with a hub of radius 24 standing 12 on it, a bore
    of radius 14 through both, and `bolts` holes of radius 4 on a circle of radius 37."""
    disc = cv.cylinder(50, 8, 96, label="disc")
    hub = cv.cylinder(24, 12, 64, label="hub").translate(0, 0, 8)
    bore = cv.cylinder(14, 30, 48, label="bore").translate(0, 0, -5)
    bolt = cv.cylinder(4, 20, 24, label="bolt").translate(37, 0, -5)
    holes = cv.polar_pattern(bolt, bolts)  # exact turns, within 1e-9 rad of 360 k / bolts
    return (disc | hub).cut_all([bore, holes])


def main(directory: Path) -> None:
    directory.mkdir(parents=True, exist_ok=True)
    start = time.perf_counter()
    flange = make_flange()
    took = time.perf_counter() - start
    print(f"flange: {flange.polygon_count} polygons in {took * 1000:.0f} ms, watertight: {flange.is_watertight}")
    start = time.perf_counter()
    flange = flange.chamfer(1, edges=lambda e: e.direction[2] == 0)  # every rim: the edges across the axis
    took = time.perf_counter() - start
    print(f"rims bevelled in {took:.1f} s, watertight: {flange.is_watertight}")
    print(f"volume {float(flange.volume):.3f} (exact: a fraction of {len(str(flange.volume))} characters)")
    cx, cy, cz = flange.centroid
    print(f"centroid ({float(cx):.2e}, {float(cy):.2e}, {float(cz):.4f}): on the axis within the turns' tolerance")
    inertia = flange.inertia
    print(f"inertia about the axis {float(inertia[2][2]):.1f}, across it {float(inertia[0][0]):.1f}")
    picture = directory / "flange.png"
    flange.render(picture)
    print(f"wrote {picture}")


if __name__ == "__main__":
    main(Path(sys.argv[1]) if len(sys.argv) > 1 else Path.cwd())
