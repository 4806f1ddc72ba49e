"""A machined part, exactly: a chamfered plate with four round holes and a
chamfered boss on top, drilled through. Writes a picture (part.png, with
matplotlib) and a mesh file (part.glb, with trimesh) into a directory.

    python3 examples/part.py [DIRECTORY]
"""

import sys
from fractions import Fraction
from pathlib import Path

import corvanthium as cv


def circle(cx: Fraction, cy: Fraction, radius: Fraction, quarter_points: int = 6) -> list[tuple[Fraction, Fraction]]:
    """Exact rational points on a circle, counter-clockwise: the half-angle
    tangent t gives the point ((1 - t^2) / (1 + t^2), 2t / (1 + t^2))."""
    quarter = []
    for j in range(quarter_points):
        t = Fraction(j, quarter_points)
        quarter.append(((1 - t * t) / (1 + t * t), 2 * t / (1 + t * t)))
    points = []
    for turn in range(4):
        for x, y in quarter:
            for _ in range(turn):
                x, y = -y, x
            points.append((cx + radius * x, cy + radius * y))
    return points


def drill(cx: Fraction, cy: Fraction, radius: Fraction, label: str) -> cv.Solid:
    """A round bar through everything between z = -1 and z = 5."""
    return cv.prism(circle(cx, cy, radius), 6, label=label).translate(0, 0, -1)


def make_part() -> cv.Solid:
    """The plate (8 x 5 x 1, edges chamfered by 1/4) with a hole near each
    corner, and a 3 x 2 x 3/2 boss (chamfered by 1/5) on top, drilled
    through the middle. Every coordinate is exact."""
    plate = cv.box(8, 5, 1, label="plate").chamfer("1/4")
    for i, (x, y) in enumerate([(1, 1), (7, 1), (1, 4), (7, 4)]):
        plate = plate - drill(Fraction(x), Fraction(y), Fraction(1, 2), label=f"hole{i}")
    boss = cv.box(3, 2, "3/2", label="boss").chamfer("1/5").translate("5/2", "3/2", 1)
    return (plate | boss) - drill(Fraction(4), Fraction(5, 2), Fraction(3, 5), label="bore")


def main(directory: Path) -> None:
    directory.mkdir(parents=True, exist_ok=True)
    part = make_part()
    print(f"part: {part.polygon_count} polygons, exact volume {part.volume}")
    picture, mesh_file = directory / "part.png", directory / "part.glb"
    part.render(picture)
    print(f"wrote {picture}")
    part.export(mesh_file)
    print(f"wrote {mesh_file} ({len(part.mesh().faces)} triangles)")


if __name__ == "__main__":
    main(Path(sys.argv[1]) if len(sys.argv) > 1 else Path.cwd())
