"""Exact points on circles, for outlines whose edges have rational unit normals.

A point (cos a, sin a) of the unit circle is rational exactly when
tan(a / 2) is, so round shapes are built from rational half-angle tangents
chosen close to even spacing. A circle's vertices sit at twice such
angles: each vertex lies exactly on the circle and each edge's unit
normal, at the sum of its ends' half angles, is rational too, so the
faces of a cylinder or a circular hole can be bevelled by an exact
distance.
"""

from __future__ import annotations

import math
from collections.abc import Sequence
from fractions import Fraction
from typing import Any

from corvanthium._native import KernelError
from corvanthium._rotation import exact, simplest_between_ratios
from corvanthium._types import Number

UnitPoint = tuple[Fraction, Fraction]


def unit_points(count: int, span: float) -> list[tuple[int, int, int]]:
    """count exact unit points at about span * k / count, k = 0 ... count - 1 (0 <= span <= pi),
    as integers (x, y, w) for the point (x / w, y / w)."""
    step = 20 * count * count  # the tangents are chosen within 1 / step
    out: list[tuple[int, int, int]] = []
    for k in range(count):
        angle = span * k / count
        # Past a quarter turn, the mirror image of the point at pi - angle: tangents stay at most 1.
        far = angle > math.pi / 2
        if far and span == math.pi:  # pi - angle is point count - k's angle, made already
            x, y, w = out[count - k]
            out.append((-x, y, w))
            continue
        m, e = math.tan((math.pi - angle if far else angle) / 2).as_integer_ratio()
        p, q = simplest_between_ratios(max(m * step - e, 0), e * step, m * step + e, e * step)  # tan(a / 2) = p / q
        x = q * q - p * p
        out.append((-x if far else x, 2 * p * q, q * q + p * p))
    return out


def doubled(p: tuple[int, int, int]) -> tuple[int, int, int]:
    x, y, w = p
    return x * x - y * y, 2 * x * y, w * w


def unit_point(p: tuple[int, int, int]) -> UnitPoint:
    return Fraction(p[0], p[2]), Fraction(p[1], p[2])


def count_of(value: Any, name: str, least: int) -> int:
    if isinstance(value, bool) or not hasattr(value, "__index__"):
        raise TypeError(f"argument '{name}': expected an int, got {type(value).__name__}")
    n = int(value.__index__())
    if n < least:
        raise KernelError(f"argument '{name}' must be at least {least}, got {n}")
    return n


def exact_positive(value: Any, name: str) -> Fraction:
    q = exact(value, name)
    if q <= 0:
        raise KernelError(f"argument '{name}' must be positive, got {q}")
    return q


def unit_circle(segments: int) -> list[UnitPoint]:
    """segments exact points of the unit circle, about evenly spaced, counter-clockwise from (1, 0)."""
    return [unit_point(doubled(p)) for p in unit_points(segments, math.pi)]


def circle(radius: Number, segments: int, *, center: Sequence[Number] = (0, 0)) -> list[tuple[Fraction, Fraction]]:
    """An outline of segments points exactly on the circle of radius about center, counter-clockwise.

    Every edge has a rational unit normal, so a prism of it (a cylinder or
    a round hole) can be chamfered by an exact distance.

    >>> all(x * x + y * y == 25 for x, y in circle(5, 16))
    True

    Raises KernelError for a radius that is not positive or fewer than 3
    segments, TypeError for numbers that are not exact.
    """
    r, n = exact_positive(radius, "radius"), count_of(segments, "segments", 3)
    if not isinstance(center, Sequence) or len(center) != 2:
        raise TypeError("argument 'center': expected (x, y)")
    cx, cy = exact(center[0], "center"), exact(center[1], "center")
    rn, rd = r.numerator, r.denominator
    out = []
    for x, y, w in (doubled(p) for p in unit_points(n, math.pi)):
        # center + r (x, y) / w, each coordinate reduced once
        out.append(
            (
                Fraction(cx.numerator * rd * w + rn * cx.denominator * x, cx.denominator * rd * w),
                Fraction(cy.numerator * rd * w + rn * cy.denominator * y, cy.denominator * rd * w),
            )
        )
    return out
