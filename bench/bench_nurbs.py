"""Median time of 200 evaluations of a bicubic rational surface on an 8 x 8 net."""

from fractions import Fraction

import corvanthium_rs as cr
from timing import median_seconds


def text(f):
    f = Fraction(f)
    return f"{f.numerator}/{f.denominator}"


def main():
    n, p = 8, 3
    net = [[[text(Fraction(i, 3)), text(Fraction(j, 5)), text(Fraction((i * j) % 7, i + j + 1))]
            for j in range(n)] for i in range(n)]
    weights = [[text(Fraction(1 + (i + 2 * j) % 5, 2 + (i * j) % 3)) for j in range(n)] for i in range(n)]
    knots = [text(0)] * (p + 1) + [text(Fraction(i, n - p)) for i in range(1, n - p)] + [text(1)] * (p + 1)
    params = [(text(Fraction(i, 199)), text(Fraction((i * 37) % 199, 199))) for i in range(200)]

    def batch():
        for u, v in params:
            cr.nurbs_surface_eval(p, p, net, knots, knots, u, v, weights)

    batch()
    median = median_seconds(batch, 15)
    print(f"nurbs_surface_eval bicubic 8x8 rational, 200 evaluations: median {median * 1e3:.2f} ms "
          f"({median / 200 * 1e6:.1f} us per point)")


if __name__ == "__main__":
    main()
