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
    show("chamfered by 1/10: volume", cv.box(3, 2, 1).chamfer("1/10").volume)


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
    errors()
    curves()
