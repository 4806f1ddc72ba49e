"""Round solids whose facets are exact: cylinders, cones, spheres and tori, every vertex
exactly on its circle or sphere (see _circles)."""

from __future__ import annotations

import math
from fractions import Fraction

from corvanthium import _native
from corvanthium._builders import prismatoid
from corvanthium._circles import (
    UnitPoint,
    circle,
    count_of,
    doubled,
    exact_positive,
    unit_circle,
    unit_point,
    unit_points,
)
from corvanthium._mesh_input import from_mesh
from corvanthium._native import KernelError
from corvanthium._rotation import exact
from corvanthium._solid import Solid, _wrap
from corvanthium._types import Number


def cylinder(radius: Number, height: Number, segments: int, *, label: str = "cylinder") -> Solid:
    """The prism of circle(radius, segments) from z = 0 to z = height (axis z, centred on it).

    Exact: every vertex lies on the circle and every side face has a rational
    unit normal. Raises KernelError for sizes that are not positive or fewer
    than 3 segments, TypeError for numbers that are not exact.

    >>> cylinder(1, 2, 8).is_watertight
    True
    """
    outline = circle(radius, segments)
    return _wrap(_native.prism(outline, exact_positive(height, "height"), label=label, whole_caps=True))


def cone(r_bottom: Number, r_top: Number, height: Number, segments: int, *, label: str = "cone") -> Solid:
    """A cone or frustum about the z axis: a circle of r_bottom at z = 0 joined to one of r_top
    (0 for a pointed cone) at z = height, with segments sides whose faces are exactly planar.
    Raises KernelError for sizes out of range or fewer than 3 segments, TypeError for numbers
    that are not exact.

    >>> cone(2, 0, 3, 16).is_watertight
    True
    """
    r0 = exact_positive(r_bottom, "r_bottom")
    r1 = exact(r_top, "r_top")
    if r1 < 0:
        raise KernelError(f"argument 'r_top' must not be negative, got {r1}")
    unit = unit_circle(count_of(segments, "segments", 3))
    bottom = [(r0 * c, r0 * s) for c, s in unit]
    top = [(r1 * c, r1 * s) for c, s in unit]
    return prismatoid(bottom, 0, top, exact_positive(height, "height"), label=label)


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
    segments // 2 bands from pole to pole; every vertex lies exactly on the sphere. Raises
    KernelError for a radius that is not positive or fewer than 4 segments.

    >>> s = sphere(1, 16); s.is_watertight and 3.9 < float(s.volume) < 4.2
    True
    """
    r, n = exact_positive(radius, "radius"), count_of(segments, "segments", 4)
    # Latitudes from the south pole to the north one, about evenly spaced.
    latitudes = [unit_point(doubled(p)) for p in unit_points(n // 2 + 1, math.pi / 2 * (n // 2 + 1) / (n // 2))]
    rings = [(r * s, -r * c) for c, s in latitudes[: n // 2 + 1]]
    rings[0], rings[-1] = (Fraction(0), -r), (Fraction(0), r)
    vertices, faces = _bands(rings, unit_circle(n), closed=False)
    return from_mesh(vertices, faces, label=label)


def torus(major: Number, minor: Number, segments: int, sections: int, *, label: str = "torus") -> Solid:
    """A ring torus about the z axis: its tube of radius minor runs at distance major from the
    axis, with segments steps around the axis and sections around the tube; every vertex lies
    exactly on the torus. Raises KernelError unless 0 < minor < major and there are at least
    3 segments and sections.

    >>> torus(3, 1, 16, 8).is_watertight
    True
    """
    big, small = exact_positive(major, "major"), exact_positive(minor, "minor")
    if small >= big:
        raise KernelError(f"argument 'minor' ({small}) must be below 'major' ({big}) for a ring torus")
    tube = unit_circle(count_of(sections, "sections", 3))
    rings = [(big + small * c, small * s) for c, s in tube]
    vertices, faces = _bands(rings, unit_circle(count_of(segments, "segments", 3)), closed=True)
    return from_mesh(vertices, faces, label=label)
