"""Round shapes whose facets are exact: circles, cylinders, cones, spheres and tori.

A point (cos a, sin a) of the unit circle is rational exactly when
tan(a / 2) is, so the shapes are built from rational half-angle tangents
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

from corvanthium._builders import prism, prismatoid
from corvanthium._mesh_input import from_mesh
from corvanthium._native import KernelError
from corvanthium._rotation import exact
from corvanthium._solid import Solid
from corvanthium._types import Number

UnitPoint = tuple[Fraction, Fraction]


def _simplest_between(lo: Fraction, hi: Fraction) -> tuple[int, int]:
    """(p, q): the fraction p / q of smallest q in [lo, hi], for 0 <= lo <= hi."""
    # Continued fractions of both ends, in integers, followed while they agree.
    a, b, c, d = lo.numerator, lo.denominator, hi.numerator, hi.denominator  # lo = a/b, hi = c/d
    terms: list[int] = []
    while True:
        whole = -(-a // b)
        if whole * d <= c:
            terms.append(whole)
            break
        floor = a // b
        terms.append(floor)
        a, b, c, d = d, c - floor * d, b, a - floor * b  # 1 / (hi - floor), 1 / (lo - floor)
    p, q = terms[-1], 1
    for t in reversed(terms[:-1]):
        p, q = t * p + q, p
    return p, q


def _unit_points(count: int, span: float) -> list[tuple[int, int, int]]:
    """count exact unit points at about span * k / count, k = 0 ... count - 1 (0 <= span <= pi),
    as integers (x, y, w) for the point (x / w, y / w)."""
    step = 20 * count * count  # the tangents are chosen within 1 / step
    out = []
    for k in range(count):
        angle = span * k / count
        # Past a quarter turn, the mirror image of the point at pi - angle: tangents stay at most 1.
        far = angle > math.pi / 2
        m, e = math.tan((math.pi - angle if far else angle) / 2).as_integer_ratio()
        lo, hi = Fraction(max(m * step - e, 0), e * step), Fraction(m * step + e, e * step)
        p, q = _simplest_between(lo, hi)  # tan(a / 2) = p / q
        x = q * q - p * p
        out.append((-x if far else x, 2 * p * q, q * q + p * p))
    return out


def _doubled(p: tuple[int, int, int]) -> tuple[int, int, int]:
    x, y, w = p
    return x * x - y * y, 2 * x * y, w * w


def _unit_point(p: tuple[int, int, int]) -> UnitPoint:
    return Fraction(p[0], p[2]), Fraction(p[1], p[2])


def _count(value: Any, name: str, least: int) -> int:
    if isinstance(value, bool) or not hasattr(value, "__index__"):
        raise TypeError(f"argument '{name}': expected an int, got {type(value).__name__}")
    n = int(value.__index__())
    if n < least:
        raise KernelError(f"argument '{name}' must be at least {least}, got {n}")
    return n


def _positive(value: Any, name: str) -> Fraction:
    q = exact(value, name)
    if q <= 0:
        raise KernelError(f"argument '{name}' must be positive, got {q}")
    return q


def _unit_circle(segments: int) -> list[UnitPoint]:
    """segments exact points of the unit circle, about evenly spaced, counter-clockwise from (1, 0)."""
    return [_unit_point(_doubled(p)) for p in _unit_points(segments, math.pi)]


def circle(radius: Number, segments: int, *, center: Sequence[Number] = (0, 0)) -> list[tuple[Fraction, Fraction]]:
    """An outline of segments points exactly on the circle of radius about center, counter-clockwise.

    Every edge has a rational unit normal, so a prism of it (a cylinder or
    a round hole) can be chamfered by an exact distance.

    >>> all(x * x + y * y == 25 for x, y in circle(5, 16))
    True

    Raises KernelError for a radius that is not positive or fewer than 3
    segments, TypeError for numbers that are not exact.
    """
    r, n = _positive(radius, "radius"), _count(segments, "segments", 3)
    if not isinstance(center, Sequence) or len(center) != 2:
        raise TypeError("argument 'center': expected (x, y)")
    cx, cy = exact(center[0], "center"), exact(center[1], "center")
    rn, rd = r.numerator, r.denominator
    out = []
    for x, y, w in (_doubled(p) for p in _unit_points(n, math.pi)):
        # center + r (x, y) / w, each coordinate reduced once
        out.append(
            (
                Fraction(cx.numerator * rd * w + rn * cx.denominator * x, cx.denominator * rd * w),
                Fraction(cy.numerator * rd * w + rn * cy.denominator * y, cy.denominator * rd * w),
            )
        )
    return out


def cylinder(radius: Number, height: Number, segments: int, *, label: str = "cylinder") -> Solid:
    """The prism of circle(radius, segments) from z = 0 to z = height (axis z, centred on it).

    Every side face has a rational unit normal. Raises KernelError for sizes
    that are not positive or fewer than 3 segments.

    >>> cylinder(1, 2, 8).is_watertight
    True
    """
    return prism(circle(radius, segments), _positive(height, "height"), label=label)


def cone(r_bottom: Number, r_top: Number, height: Number, segments: int, *, label: str = "cone") -> Solid:
    """A cone or frustum about the z axis: a circle of r_bottom at z = 0 joined to one of r_top
    (0 for a pointed cone) at z = height, with segments sides whose faces are exactly planar.

    >>> cone(2, 0, 3, 16).is_watertight
    True
    """
    r0 = _positive(r_bottom, "r_bottom")
    r1 = exact(r_top, "r_top")
    if r1 < 0:
        raise KernelError(f"argument 'r_top' must not be negative, got {r1}")
    unit = _unit_circle(_count(segments, "segments", 3))
    bottom = [(r0 * c, r0 * s) for c, s in unit]
    top = [(r1 * c, r1 * s) for c, s in unit]
    return prismatoid(bottom, 0, top, _positive(height, "height"), label=label)


Point3 = tuple[Fraction, Fraction, Fraction]


def _bands(
    rings: list[tuple[Fraction, Fraction]], around: list[UnitPoint], closed: bool
) -> tuple[list[Point3], list[tuple[int, int, int]]]:
    """The triangles of a surface of revolution about z: ring j is the circle of radius
    rings[j][0] at height rings[j][1] (radius 0: a pole, one point); closed joins the last
    ring to the first."""
    vertices: list[Point3] = []
    first: list[int] = []
    for rho, z in rings:
        first.append(len(vertices))
        if rho == 0:
            vertices.append((Fraction(0), Fraction(0), z))
        else:
            vertices.extend((rho * c, rho * s, z) for c, s in around)
    n = len(around)
    faces: list[tuple[int, int, int]] = []

    def at(j: int, k: int) -> int:
        return first[j] if rings[j][0] == 0 else first[j] + k % n

    count = len(rings) if closed else len(rings) - 1
    for j in range(count):
        a, b = j, (j + 1) % len(rings)
        for k in range(n):
            p, q, r, s = at(a, k), at(a, k + 1), at(b, k + 1), at(b, k)
            if p != q:
                faces.append((p, q, r))
            if r != s:
                faces.append((p, r, s))
    return vertices, faces


def sphere(radius: Number, segments: int, *, label: str = "sphere") -> Solid:
    """A sphere of radius centred at the origin, segments vertices around the equator and
    segments // 2 bands from pole to pole; every vertex lies exactly on the sphere.

    >>> s = sphere(1, 16); s.is_watertight and 3.9 < float(s.volume) < 4.2
    True
    """
    r, n = _positive(radius, "radius"), _count(segments, "segments", 4)
    # Latitudes from the south pole to the north one, about evenly spaced.
    latitudes = [_unit_point(_doubled(p)) for p in _unit_points(n // 2 + 1, math.pi / 2 * (n // 2 + 1) / (n // 2))]
    rings = [(r * s, -r * c) for c, s in latitudes[: n // 2 + 1]]
    rings[0], rings[-1] = (Fraction(0), -r), (Fraction(0), r)
    vertices, faces = _bands(rings, _unit_circle(n), closed=False)
    return from_mesh(vertices, faces, label=label)


def torus(major: Number, minor: Number, segments: int, sections: int, *, label: str = "torus") -> Solid:
    """A ring torus about the z axis: its tube of radius minor runs at distance major from the
    axis, with segments steps around the axis and sections around the tube; every vertex lies
    exactly on the torus. major must exceed minor.

    >>> torus(3, 1, 16, 8).is_watertight
    True
    """
    big, small = _positive(major, "major"), _positive(minor, "minor")
    if small >= big:
        raise KernelError(f"argument 'minor' ({small}) must be below 'major' ({big}) for a ring torus")
    tube = _unit_circle(_count(sections, "sections", 3))
    rings = [(big + small * c, small * s) for c, s in tube]
    vertices, faces = _bands(rings, _unit_circle(_count(segments, "segments", 3)), closed=True)
    return from_mesh(vertices, faces, label=label)
