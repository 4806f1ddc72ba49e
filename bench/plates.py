"""Drilled plates built with the corvanthium package: the (2k+2) x (2k+2) x 1
plate minus k x k round holes, one cut per hole. Shared by the thread and
load benchmarks, the dask example's tests and the pickle tests."""

from fractions import Fraction

import corvanthium as cv


def circle(cx, cy, radius=Fraction(3, 5)):
    """16 exact rational points on a circle around (cx, cy), counter-clockwise."""
    quarter = [((1 - t * t) / (1 + t * t), 2 * t / (1 + t * t)) for t in (Fraction(j, 4) for j in range(4))]
    points = []
    for turn in range(4):
        for x, y in quarter:
            for _ in range(turn):
                x, y = -y, x
            points.append((cx + radius * x, cy + radius * y))
    return points


def plate(k, radius=Fraction(3, 5), label="plate", engine="bsp"):
    """The k x k plate; radius varies the holes so that plates differ. The
    cuts run on the BSP engine unless engine says otherwise (None: the
    default engine)."""
    side = 2 * k + 2
    p = cv.box(side, side, 1, label=label)
    for i in range(k):
        for j in range(k):
            hole = cv.prism(circle(2 * i + 2, 2 * j + 2, radius), 3, label=f"hole{i}{j}")
            p = p.cut(hole.translate(0, 0, -1), engine=engine)
    return p
