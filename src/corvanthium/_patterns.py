"""Copies of a part in a pattern, united into one solid: around an axis, or on a grid."""

from __future__ import annotations

from fractions import Fraction
from typing import Any

from corvanthium._circles import count_of
from corvanthium._rotation import exact
from corvanthium._solid import Solid, union_all
from corvanthium._types import Engine, Number


def polar_pattern(
    solid: Solid,
    count: int,
    *,
    axis: Any = "z",
    degrees: Number = 360,
    tolerance: Number = Fraction(1, 10**9),
    engine: Engine | None = None,
) -> Solid:
    """The union of count copies of solid, copy k turned by k * degrees / count about the axis
    through the origin (exact rotations within tolerance radians, as Solid.rotate makes them).
    Raises KernelError for a count below 1, TypeError for numbers that are not exact.

    >>> polar_pattern(box(1, 1, 1).translate(3, 0, 0), 4).volume
    Fraction(4, 1)
    """
    n = count_of(count, "count", 1)
    step = exact(degrees, "degrees") / n
    copies = [solid if k == 0 else solid.rotate(axis, step * k, tolerance=tolerance) for k in range(n)]
    return union_all(copies, engine=engine)


def grid_pattern(solid: Solid, nx: int, ny: int, dx: Number, dy: Number, *, engine: Engine | None = None) -> Solid:
    """The exact union of nx * ny copies of solid, copy (i, j) moved by (i * dx, j * dy, 0).
    Raises KernelError for counts below 1, TypeError for numbers that are not exact.

    >>> grid_pattern(box(1, 1, 1), 3, 2, 2, 2).volume
    Fraction(6, 1)
    """
    px, py = exact(dx, "dx"), exact(dy, "dy")
    copies = [
        solid.translate(i * px, j * py, 0) for i in range(count_of(nx, "nx", 1)) for j in range(count_of(ny, "ny", 1))
    ]
    return union_all(copies, engine=engine)
