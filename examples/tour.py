"""A tour of the corvanthium package: exact solids with plain Python numbers.

Numbers go in as int, Fraction, Decimal or exact text; exact results come
back as Fraction. Run with the package installed (pip install .).
"""

from decimal import Decimal
from fractions import Fraction

import corvanthium as cv


def show(title: str, value: object) -> None:
    print(f"  {title:<40} {value}")


def solids() -> None:
    print("Solids")
    block = cv.box(4, 3, Fraction(1, 2), label="block")
    show("a 4 x 3 x 1/2 block", block)
    show("its volume, a Fraction", block.volume)
    ell = cv.prism([(0, 0), (2, 0), (2, 1), (1, 1), (1, 2), (0, 2)], "1/2", label="ell")
    show("an L prism", ell)
    frustum = cv.prismatoid([(0, 0), (2, 0), (2, 2), (0, 2)], 0, [(0, 0), (1, 0), (1, 1), (0, 1)], 1)
    show("a frustum-like prismatoid: volume", frustum.volume)

    moved = block.translate(Decimal("0.1"), "-1/3", 0).rotate_quarter("z").scale(2)
    show("moved, turned and scaled: bbox", moved.bbox)


def booleans() -> None:
    print("Booleans")
    a = cv.box(2, 2, 2)
    b = cv.box(2, 2, 2).translate(1, 1, 1)
    show("a | b", (a | b).volume)
    show("a - b", (a - b).volume)
    show("a & b", (a & b).volume)
    show("the same cut, engine named", a.cut(b, engine="bsp").volume)
    show("default engine", cv.DEFAULT_ENGINE)
    plate = cv.box(6, 6, 1)
    for x in (2, 4):
        for y in (2, 4):
            plate = plate - cv.box(1, 1, 3).translate(x - Fraction(1, 2), y - Fraction(1, 2), -1)
    show("a plate with four square holes", plate)
    show("watertight, logical faces", (plate.is_watertight, plate.face_count))
    show("the plate chamfered by 1/10: volume", plate.chamfer("1/10").volume)


def chamfers() -> None:
    print("Edges and chamfers")
    bracket = cv.prism([(0, 0), (6, 0), (6, 1), (1, 1), (1, 5), (0, 5)], 4, label="bracket")
    edges = bracket.edges()
    inner = next(e for e in edges if not e.convex)
    show("an L bracket's edges, concave ones", (len(edges), sum(not e.convex for e in edges)))
    show("its inner edge: ends, angle", (inner.start, inner.end, inner.angle))
    every = bracket.chamfer("1/4")
    show("every edge by 1/4: volume", every.volume)
    show("by cutter solids, slotting the inner edge", bracket.chamfer("1/4", method="cutters").volume)
    upright = bracket.chamfer("1/4", edges=lambda e: e.direction[0] == e.direction[1] == 0)
    show("upright edges only: same as the prism", upright.same_shape(cv.prism(_bevelled_outline(), 4)))
    try:
        bracket.chamfer("1/2")
    except cv.KernelError as e:
        show("by 1/2", f"KernelError: {e}")


def _bevelled_outline() -> list[tuple[Fraction | int, Fraction | int]]:
    """The bracket's outline with each corner bevelled by 1/4 (the reflex one filled)."""
    q = Fraction(1, 4)
    return [
        (0, q),
        (q, 0),
        (6 - q, 0),
        (6, q),
        (6, 1 - q),
        (6 - q, 1),
        (1 + q, 1),
        (1, 1 + q),
        (1, 5 - q),
        (1 - q, 5),
        (q, 5),
        (0, 5 - q),
    ]


def errors() -> None:
    print("Errors")
    for value in (0.1, "1/2/3", "1/0"):
        try:
            cv.box(value, 1, 1)  # type: ignore[arg-type]
        except (TypeError, cv.KernelError) as e:
            show(f"box({value!r}, 1, 1)", f"{type(e).__name__}: {e}")


def curves() -> None:
    print("Curves and patches")
    point = cv.nurbs_curve_point(2, [[0, 0, 0], [1, 2, 0], [2, 0, 0]], [0, 0, 0, 1, 1, 1], "1/2", weights=[1, 2, 1])
    show("rational quadratic at t = 1/2", point)
    net = [[[0, 0, 0], [0, 1, 0]], [[1, 0, 1], [1, 1, 1]]]
    far = [[[5, 5, 5], [5, 6, 5]], [[6, 5, 5], [6, 6, 5]]]
    show("patches apart: no candidate pairs", cv.ssi_pairs(net, far, 4) == [])


if __name__ == "__main__":
    solids()
    booleans()
    chamfers()
    errors()
    curves()
