"""Single long calls of both modules, for the interrupt and progress tests:
each runs for seconds, in one call, and polls the guard throughout."""

from fractions import Fraction

import corvanthium as cv
import corvanthium_rs as cr

SQUARE = [[["0", "0", "0"], ["0", "1", "0"]], [["1", "0", "0"], ["1", "1", "0"]]]
SQUARE_NUMBERS = [[[0, 0, 0], [0, 1, 0]], [[1, 0, 0], [1, 1, 0]]]


def curve(degree):
    """Control points, knots and uneven weights of a clamped curve: the exact
    values grow at every de Boor step."""
    cps = [[str(Fraction(i * i + 1, i + 2)), str(i), str(Fraction(1, i + 1))] for i in range(degree + 1)]
    knots = ["0"] * (degree + 1) + ["1"] * (degree + 1)
    weights = [str(Fraction(3 + i % 5, 2 + i % 3)) for i in range(degree + 1)]
    return cps, knots, weights


def pocket_grid(n, make_box, cut, translate):
    """A box with an n x n grid of square pockets in its top."""
    side = 2 * n + 1
    part = make_box(side, side, 2)
    for i in range(n):
        for j in range(n):
            part = cut(part, translate(make_box(1, 1, 2), 2 * i + 1, 2 * j + 1, 1))
    return part


def rs_pockets(n):
    return pocket_grid(
        n,
        lambda x, y, z: cr.make_box(str(x), str(y), str(z), "b"),
        lambda a, b: a.boolean("cut", b),
        lambda s, x, y, z: s.translate(str(x), str(y), str(z)),
    )


def lib_pockets(n):
    return pocket_grid(n, cv.box, lambda a, b: a - b, lambda s, x, y, z: s.translate(x, y, z))


def rs_calls():
    """name -> a long single call of corvanthium_rs."""
    cps, knots, weights = curve(1200)
    pockets = rs_pockets(8)  # about a second: the alarm lands well inside it
    return {
        "nurbs_curve_eval": lambda: cr.nurbs_curve_eval(1200, cps, knots, "1/3", weights),
        "ssi_pairs": lambda: cr.ssi_pairs(SQUARE, SQUARE, 9),
        "chamfer": lambda: pockets.chamfer("1/10"),
    }


def lib_calls():
    """name -> a long single call of corvanthium."""
    cps, knots, weights = curve(1200)
    pockets = lib_pockets(16)  # the package's chamfer is faster: about a second
    return {
        "nurbs_curve_point": lambda: cv.nurbs_curve_point(1200, cps, knots, "1/3", weights),
        "ssi_pairs": lambda: cv.ssi_pairs(SQUARE_NUMBERS, SQUARE_NUMBERS, 9),
        "chamfer": lambda: pockets.chamfer(Fraction(1, 10)),
    }
