"""A tour of corvanthium_rs: exact solids, Booleans, chamfers, NURBS and patch screening.

Every number goes in and comes out as exact rational text.
"""

from fractions import Fraction

import corvanthium_rs as cr


def show(title: str, value: object) -> None:
    print(f"  {title:<44} {value}")


def solids() -> None:
    print("Solids")
    box = cr.make_box("1", "2", "3", "box")
    show("1 x 2 x 3 box: six-fold volume", box.volume6_str())
    show("its volume and bounding box", (box.volume(), box.bbox()))
    turned = box.rotate_quarter(2, 1)
    show("turned a quarter about z: bbox", turned.bbox())
    show("mirrored in x: volume unchanged", box.mirror(0).volume6_str())
    show("scaled by (1/3, 1, 2)", box.scale("1/3", "1", "2").volume6_str())
    thin = box.translate("1/3", "-1/7", "123456789012345678901234567890")
    show("moved far away, exactly: bbox max z", thin.bbox()[5])

    # An L-shaped prism; its caps are exact ear-clipped triangles.
    ell = cr.make_prism(["0", "0", "2", "0", "2", "1", "1", "1", "1", "2", "0", "2"], "1", "L")
    show("L prism: six-fold volume", ell.volume6_str())
    show("L prism: faces / logical faces", (ell.canonical().count(";") + 1, ell.logical_faces()))
    frustum = cr.make_prismatoid(
        ["0", "0", "4", "0", "4", "4", "0", "4"], "0", ["1", "1", "3", "1", "3", "3", "1", "3"], "3", "f"
    )
    show("square frustum 4 -> 2, height 3: volume", frustum.volume())


def booleans() -> None:
    print("Booleans")
    a = cr.make_box("2", "2", "2", "a")
    b = cr.make_box("2", "2", "2", "b").translate("1", "1", "1")
    for op in ("union", "cut", "intersect"):
        r = a.boolean(op, b)
        show(f"[0,2]^3 {op} [1,3]^3: volume6, faces, closed", (r.volume6_str(), r.logical_faces(), r.watertight_ok()))
    volume, canonical = cr.box_boolean("1", "1", "1", "1", "1", "1", "1/2", "1/3", "1/4", "intersect")
    show("box_boolean intersect, shifted (1/2,1/3,1/4)", volume)
    ell = cr.make_prism(["0", "0", "2", "0", "2", "1", "1", "1", "1", "2", "0", "2"], "1", "L")
    notch = cr.make_box("1", "1", "1", "n").translate("1", "1", "0")
    show("L prism with its notch filled: volume6", ell.boolean("union", notch).volume6_str())


def chamfers() -> None:
    print("Chamfers")
    cube = cr.make_box("1", "1", "1", "c")
    bevelled = cube.chamfer("1/10")
    show("unit cube chamfered by 1/10: volume", Fraction(bevelled.volume6_str()) / 6)
    show("still closed", bevelled.watertight_ok())
    long_box = cr.make_box("10", "1", "1", "bar").chamfer("1/10")
    show("10 x 1 x 1 bar chamfered by 1/10: volume", Fraction(long_box.volume6_str()) / 6)
    try:
        bevelled.chamfer("1/10")
    except ValueError as err:
        show("chamfering twice", f"ValueError: {err}")


def nurbs() -> None:
    print("NURBS")
    # A rational quadratic quarter circle of radius 1.
    cps = [["1", "0", "0"], ["1", "1", "0"], ["0", "1", "0"]]
    knots = ["0", "0", "0", "1", "1", "1"]
    weights = ["1", "1/2", "1"]
    for t in ("0", "1/2", "1"):
        point = cr.nurbs_curve_eval(2, cps, knots, t, weights)
        x, y = Fraction(point[0]), Fraction(point[1])
        show(f"quarter circle at t = {t}: point, x^2 + y^2", (point[:2], x * x + y * y))
    net = [[["0", "0", "0"], ["0", "1", "0"]], [["1", "0", "0"], ["1", "1", "1"]]]
    show(
        "bilinear patch at (1/2, 1/2)",
        cr.nurbs_surface_eval(1, 1, net, ["0", "0", "1", "1"], ["0", "0", "1", "1"], "1/2", "1/2"),
    )


def screening() -> None:
    print("Surface intersection screening")
    flat = [[["0", "0", "0"], ["0", "1", "0"]], [["1", "0", "0"], ["1", "1", "0"]]]
    lifted = [[["0", "0", "1"], ["0", "1", "1"]], [["1", "0", "1"], ["1", "1", "1"]]]
    tilted = [[["0", "0", "-1"], ["0", "1", "-1"]], [["1", "0", "1"], ["1", "1", "1"]]]
    show("parallel squares, depth 4: surviving pairs", len(cr.ssi_pairs(flat, lifted, 4)))
    rows = cr.ssi_pairs(flat, tilted, 4)
    show("crossing squares, depth 4: surviving pairs", len(rows))
    show("first surviving pair", rows[0])


def failures() -> None:
    print("Failures are exceptions, never crashes")
    try:
        cr.make_box("1.5", "1", "1", "x")
    except BaseException as err:  # PanicException derives from BaseException
        show("make_box('1.5', ...)", f"{type(err).__name__}: {err}")
    try:
        cr.make_box(1, 1, 1, "x")  # type: ignore[arg-type]
    except TypeError as err:
        show("make_box(1, 1, 1, 'x')", f"TypeError: {err}")


if __name__ == "__main__":
    solids()
    booleans()
    chamfers()
    nurbs()
    screening()
    failures()
