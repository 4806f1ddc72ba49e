"""The demo: exact solids with the corvanthium package, then the same kernel
through corvanthium_rs, the low-level module under it.

Every coordinate is an exact rational number. The package takes Python
numbers and gives Fractions back; the low-level module takes and gives
number texts. Run with the package installed (`make demo` installs it):

    python examples/demo.py [OUT_DIR]

OUT_DIR (default: the current folder) is where the part's pictures go.
"""

import importlib
import sys
from collections.abc import Callable, Iterable
from fractions import Fraction
from pathlib import Path

import corvanthium as cv
import corvanthium_rs as cr


def show(title: str, value: object) -> None:
    print(f"  {title:<50} {value}")


def exact(values: Iterable[object]) -> str:
    """Fractions (or nested tuples of them) as plain text: 7, 1/3, (0, 1/2)."""
    parts = [exact(v) if isinstance(v, tuple) else str(v) for v in values]
    return "(" + ", ".join(parts) + ")"


def package_solids() -> None:
    print("The corvanthium package: Python numbers in, exact Fractions out")
    a = cv.box(2, 2, 2)
    b = cv.box(2, 2, 2).translate(1, 1, 1)
    show("[0,2]^3 and [1,3]^3: union, cut, intersection", exact(((a | b).volume, (a - b).volume, (a & b).volume)))
    show("the cut", a - b)
    show("unit cube chamfered by 1/10: volume", cv.box(1, 1, 1).chamfer("1/10").volume)
    far = cv.box(1, 2, 3).translate(Fraction(1, 3), "-1/7", 123456789012345678901234567890)
    show("1 x 2 x 3 box moved far away, exactly: bbox", exact(far.bbox))
    show("its volume, still exact", far.volume)
    try:
        cv.box(0.1, 1, 1)  # type: ignore[arg-type]
    except TypeError as err:
        show("box(0.1, 1, 1)", f"TypeError: {str(err)[:60]}...")


def package_circle() -> None:
    print("An exact circle: the rational quadratic through (1,0), (1,1), (0,1), weights 1, 1, 2")
    cps = [[1, 0, 0], [1, 1, 0], [0, 1, 0]]
    knots = [0, 0, 0, 1, 1, 1]
    for t in ("0", "1/4", "1/3", "1/2", "1"):
        x, y, _ = cv.nurbs_curve_point(2, cps, knots, t, weights=[1, 1, 2])
        show(f"t = {t}: point (x, y), x^2 + y^2", f"{exact((x, y))}, {x * x + y * y}")


def low_level_solids() -> None:
    print("corvanthium_rs, the low-level module: number texts in and out")
    box = cr.make_box("1", "2", "3", "box")
    show("1 x 2 x 3 box: volume6_str(), six times the volume", box.volume6_str())
    show("so the exact volume is", Fraction(box.volume6_str()) / 6)
    show("volume() and bbox() are floats", (box.volume(), box.bbox()))
    show("turned a quarter about z: bbox", box.rotate_quarter(2, 1).bbox())
    show("scaled by (1/3, 1, 2): volume", Fraction(box.scale("1/3", "1", "2").volume6_str()) / 6)
    far = box.translate("1/3", "-1/7", "123456789012345678901234567890")
    # canonical() lists every vertex as exact texts "x,y,z", polygons split
    # by ";" and vertices by "|": the exact top of the box is in there.
    vertices = (v.split(",") for polygon in far.canonical().split(";") for v in polygon.split("|"))
    show("moved far away, exactly: top z (canonical())", max(Fraction(z) for _, _, z in vertices))
    show("the same from bbox(), a float", far.bbox()[5])

    ell = cr.make_prism(["0", "0", "2", "0", "2", "1", "1", "1", "1", "2", "0", "2"], "1", "L")
    show("L prism: volume, logical faces", f"{Fraction(ell.volume6_str()) / 6}, {ell.logical_faces()}")
    a = cr.make_box("2", "2", "2", "a")
    b = cr.make_box("2", "2", "2", "b").translate("1", "1", "1")
    for op in ("union", "cut", "intersect"):
        r = a.boolean(op, b)
        show(f"[0,2]^3 {op} [1,3]^3: volume, closed", f"{Fraction(r.volume6_str()) / 6}, {r.watertight_ok()}")


def low_level_curves() -> None:
    print("corvanthium_rs: the same circle, and the patch screen")
    cps = [["1", "0", "0"], ["1", "1", "0"], ["0", "1", "0"]]
    point = cr.nurbs_curve_eval(2, cps, ["0", "0", "0", "1", "1", "1"], "1/2", ["1", "1", "2"])
    x, y = Fraction(point[0]), Fraction(point[1])
    show("nurbs_curve_eval at t = 1/2: point, x^2 + y^2", f"{point[:2]}, {x * x + y * y}")
    flat = [[["0", "0", "0"], ["0", "1", "0"]], [["1", "0", "0"], ["1", "1", "0"]]]
    lifted = [[["0", "0", "1"], ["0", "1", "1"]], [["1", "0", "1"], ["1", "1", "1"]]]
    show("parallel squares: pairs left (none: apart)", len(cr.ssi_pairs(flat, lifted, 4)))
    try:
        cr.make_box("1.5", "1", "1", "x")
    except BaseException as err:  # PanicException derives from BaseException
        show("make_box('1.5', ...)", f"{type(err).__name__}: {err}")


# ---- The part's pictures -------------------------------------------------
# examples/part.py, where present, writes part.png and part.glb with
# main(out_dir); the demo calls it last.
def part_pictures(out_dir: Path) -> None:
    print("The part's pictures")
    here = Path(__file__).resolve().parent
    if not (here / "part.py").exists():
        show("examples/part.py", "not here: no pictures written")
        return
    sys.path.insert(0, str(here))
    part_main: Callable[[Path], object] = importlib.import_module("part").main
    out_dir.mkdir(parents=True, exist_ok=True)
    part_main(out_dir)
    for name in ("part.png", "part.glb"):
        show(name, out_dir / name)


if __name__ == "__main__":
    package_solids()
    package_circle()
    low_level_solids()
    low_level_curves()
    part_pictures(Path(sys.argv[1]) if len(sys.argv) > 1 else Path.cwd())
