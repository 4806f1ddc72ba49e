"""Solids from sizes and outlines: ``box``, ``prism`` and ``prismatoid``."""

from __future__ import annotations

from collections.abc import Sequence

from corvanthium import _native
from corvanthium._sketch import Sketch
from corvanthium._solid import Solid, _wrap
from corvanthium._types import Number, Point2

_RAISES = """
Numbers are exact: int, Fraction, finite Decimal or a text such as "1/3" or
"0.25" (a float or bool raises TypeError). Raises TypeError for a wrong type
and KernelError (a ValueError) for a malformed number, a zero denominator or
input the kernel refuses."""


def box(dx: Number, dy: Number, dz: Number, *, label: str | None = "box") -> Solid:
    return _wrap(_native.box(dx, dy, dz, label=label))


box.__doc__ = (
    "The box [0, dx] x [0, dy] x [0, dz], exactly; its faces are labelled label + '.bottom',\n"
    "'.top', '.front', '.back', '.right', '.left'. Sizes must be positive." + _RAISES
)


def prism(outline: Sequence[Point2] | Sketch, height: Number, *, label: str | None = "prism") -> Solid:
    if isinstance(outline, Sketch):
        return outline.extrude(height)
    return _wrap(_native.prism(outline, height, label=label))


prism.__doc__ = (
    "The outline (a sequence of (x, y) pairs) extruded from z = 0 to z = height, exactly; a\n"
    "clockwise outline is reversed first. The height must be positive, and the outline have\n"
    "at least three distinct points, not all in a line, and neither cross nor touch itself. A\n"
    "Sketch is taken as its region (Sketch.extrude, keeping the sketch's labels)." + _RAISES
)


def prismatoid(
    bottom: Sequence[Point2], z0: Number, top: Sequence[Point2], z1: Number, *, label: str | None = "prismatoid"
) -> Solid:
    return _wrap(_native.prismatoid(bottom, z0, top, z1, label=label))


prismatoid.__doc__ = (
    "The solid joining the bottom outline at z0 to the top outline at z1 (sequences of (x, y)\n"
    "pairs with as many points each, point i of the top joined to point i of the bottom;\n"
    "z1 above z0), exactly. Each outline is checked as prism's is, but one of them may narrow\n"
    "to a line or a point (a wedge, a pyramid)." + _RAISES
)


def hull(points: Sequence[Sequence[Number]] | Solid, *, label: str | None = "hull") -> Solid:
    """The exact convex hull of points (x, y, z), or of a solid's corners, as a closed solid of
    triangles labelled label (a flat face may come as several coplanar triangles).

    >>> hull([(0, 0, 0), (1, 0, 0), (0, 1, 0), (0, 0, 1), ("1/5", "1/5", "1/5")]).volume
    Fraction(1, 6)

    Raises KernelError for fewer than four points or points all in one plane, TypeError for
    numbers that are not exact.
    """
    if isinstance(points, Solid):
        points = list(set(points.mesh().exact_vertices))
    return _wrap(_native.hull(points, label=label))
