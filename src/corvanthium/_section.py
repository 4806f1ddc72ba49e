"""Solids cut by a plane: the two halves, and the section where the plane meets the solid.

The half-space behind a plane (point, normal) is met, inside any box, by a
parallelepiped with one face on the plane: the unit box mapped exactly by
the columns u, v and n, where u and v are exact vectors across n. So both
halves are exact Booleans, and the section is the face they share.
"""

from __future__ import annotations

import math
from collections.abc import Sequence
from dataclasses import dataclass
from fractions import Fraction
from typing import Any

from corvanthium._builders import box
from corvanthium._mesh_input import from_mesh
from corvanthium._native import KernelError
from corvanthium._rotation import exact, rational_sqrt
from corvanthium._sketch import Sketch
from corvanthium._solid import Solid

Vector = tuple[Fraction, Fraction, Fraction]
_CUT = "section-plane"


def _vector(value: Any, name: str) -> Vector:
    if not isinstance(value, Sequence) or len(value) != 3:
        raise TypeError(f"argument '{name}': expected (x, y, z)")
    return (exact(value[0], name), exact(value[1], name), exact(value[2], name))


def _cross(a: Vector, b: Vector) -> Vector:
    return (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])


def _dot(a: Sequence[Fraction], b: Sequence[Fraction]) -> Fraction:
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]


def plane_of(point: Any, normal: Any) -> tuple[Vector, Vector]:
    p, n = _vector(point, "point"), _vector(normal, "normal")
    if not any(n):
        raise KernelError("argument 'normal' is (0, 0, 0): a plane needs a normal")
    return p, n


def behind(solid: Solid, p: Vector, n: Vector) -> Solid:
    """An exact parallelepiped holding every point of solid's box that lies behind the plane
    through p with normal n (the side n points away from), with one face on the plane."""
    k = min(range(3), key=lambda i: abs(n[i]))
    axis = tuple(Fraction(int(i == k)) for i in range(3))
    u = _cross(n, axis)  # type: ignore[arg-type]
    v = _cross(n, u)  # (u, v, n) turns the right way: det = |u|² |n|²
    lo, hi = solid.bbox
    corners = [(x, y, z) for x in (lo[0], hi[0]) for y in (lo[1], hi[1]) for z in (lo[2], hi[2])]
    reach = 1 + max(abs(_dot([c[i] - p[i] for i in range(3)], w)) / _dot(w, w) for c in corners for w in (u, v, n))
    columns = [[u[i], v[i], n[i]] for i in range(3)]
    slab = box(2 * reach, 2 * reach, reach, label=_CUT).translate(-reach, -reach, -reach)
    return slab.transform([[*columns[i], p[i]] for i in range(3)])


def split(solid: Solid, point: Any, normal: Any) -> tuple[Solid, Solid]:
    """The two exact halves of solid cut by the plane through point with normal (exact triples):
    (the part behind the plane, the part in front, where the normal points); an empty solid
    where the plane misses. Raises KernelError for a zero normal, TypeError for numbers that
    are not exact.

    >>> [h.volume for h in split(box(2, 2, 2), (0, 0, "1/2"), (0, 0, 1))]
    [Fraction(2, 1), Fraction(6, 1)]
    """
    p, n = plane_of(point, normal)
    if solid.polygon_count == 0:
        return solid, solid
    half = behind(solid, p, n)
    return solid & half, solid - half


@dataclass(frozen=True)
class Section:
    """Where a plane meets a solid: ``loops`` are its boundary loops as exact 3-D points,
    ``outer`` says of each whether it is an outer loop (counter-clockwise seen from the
    normal's side) or a hole; ``area`` is exact (a Fraction) when the normal has rational
    length and a float otherwise. ``to_sketch()`` gives the region as a Sketch, for a
    normal along an axis (a KernelError for another normal)."""

    point: Vector
    normal: Vector
    loops: tuple[tuple[Vector, ...], ...]
    outer: tuple[bool, ...]
    area: Fraction | float
    _triangles: tuple[tuple[Vector, Vector, Vector], ...]

    def to_sketch(self) -> Sketch:
        """The section as a Sketch in the coordinates of the plane: for a normal along +z its
        (x, y), along +x its (y, z), along +y its (z, x) (along a negative axis the two are
        swapped, so outer loops stay counter-clockwise). KernelError for another normal."""
        axes = [i for i in range(3) if self.normal[i] != 0]
        if len(axes) != 1:
            raise KernelError("to_sketch: the section's normal must lie along x, y or z")
        k = axes[0]
        a, b = (k + 1) % 3, (k + 2) % 3
        if self.normal[k] < 0:
            a, b = b, a
        if not self._triangles:
            raise KernelError("to_sketch: the plane misses the solid (an empty section)")
        return Sketch(_slab([tuple((q[a], q[b]) for q in t) for t in self._triangles]))


def _slab(triangles: list[tuple[tuple[Fraction, Fraction], ...]]) -> Solid:
    """The region of counter-clockwise triangles (a conforming mesh) swept from z = 0 to 1."""
    index: dict[tuple[Fraction, Fraction, int], int] = {}
    vertices: list[Vector] = []

    def at(q: tuple[Fraction, Fraction], z: int) -> int:
        key = (q[0], q[1], z)
        if key not in index:
            index[key] = len(vertices)
            vertices.append((q[0], q[1], Fraction(z)))
        return index[key]

    faces: list[tuple[int, int, int]] = []
    directed: set[tuple[tuple[Fraction, Fraction], tuple[Fraction, Fraction]]] = set()
    for a, b, c in triangles:
        faces.append((at(a, 1), at(b, 1), at(c, 1)))
        faces.append((at(c, 0), at(b, 0), at(a, 0)))
        directed |= {(a, b), (b, c), (c, a)}
    for a, b in directed:
        if (b, a) not in directed:  # a boundary edge, the region on its left
            faces.append((at(a, 0), at(b, 0), at(b, 1)))
            faces.append((at(a, 0), at(b, 1), at(a, 1)))
    return from_mesh(vertices, faces, label="sketch")


def section(solid: Solid, point: Any, normal: Any) -> Section:
    """Where the plane through point with normal (exact triples) meets the solid: a Section with
    the exact loops (outer loops and holes), the area (exact when the normal has rational
    length) and, for a normal along an axis, to_sketch(). Raises KernelError for a zero normal.

    >>> section(box(2, 3, 4), (0, 0, 1), (0, 0, 1)).area
    Fraction(6, 1)
    """
    p, n = plane_of(point, normal)
    triangles: list[tuple[Vector, Vector, Vector]] = []
    if solid.polygon_count:
        piece = solid & behind(solid, p, n)
        if piece.polygon_count:
            mesh = piece.mesh()
            exact_points = mesh.exact_vertices
            offset = _dot(p, n)
            for tri in mesh.faces.tolist():
                a, b, c = (exact_points[i] for i in tri)
                # on the plane and facing along n: the face the two halves share
                if _dot(a, n) == _dot(b, n) == _dot(c, n) == offset and _dot(_cross(_sub(b, a), _sub(c, a)), n) > 0:
                    triangles.append((a, b, c))
    twice = sum((_dot(_cross(_sub(b, a), _sub(c, a)), n) for a, b, c in triangles), Fraction(0))
    length = rational_sqrt(_dot(n, n))
    area: Fraction | float = twice / (2 * length) if length is not None else float(twice) / (2 * math.sqrt(_dot(n, n)))
    loops = _loops(triangles)
    outer = tuple(_dot(_loop_area(loop), n) > 0 for loop in loops)
    return Section(p, n, loops, outer, area, tuple(triangles))


def _sub(a: Vector, b: Vector) -> Vector:
    return (a[0] - b[0], a[1] - b[1], a[2] - b[2])


def _loop_area(loop: Sequence[Vector]) -> Vector:
    total = (Fraction(0), Fraction(0), Fraction(0))
    for a, b in zip(loop, [*loop[1:], loop[0]], strict=True):
        c = _cross(a, b)
        total = (total[0] + c[0], total[1] + c[1], total[2] + c[2])
    return total


def _loops(triangles: list[tuple[Vector, Vector, Vector]]) -> tuple[tuple[Vector, ...], ...]:
    """The boundary of a conforming set of triangles as closed loops (where the region touches
    itself at a point, the loops through it are told apart by the order edges are found)."""
    directed = {(t[i], t[(i + 1) % 3]) for t in triangles for i in range(3)}
    following: dict[Vector, list[Vector]] = {}
    for a, b in sorted(directed):
        if (b, a) not in directed:
            following.setdefault(a, []).append(b)
    loops = []
    for start in sorted(following):
        while following.get(start):
            loop, at = [start], following[start].pop()
            while at != start:
                loop.append(at)
                at = following[at].pop()
            loops.append(tuple(loop))
    return tuple(loops)
