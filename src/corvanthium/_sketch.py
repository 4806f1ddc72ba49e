"""``Sketch``: exact planar regions with holes, in the plane z = 0.

A sketch is kept as the solid its region sweeps from z = 0 to z = 1, so
its Booleans are the solids' exact Booleans, its area is that solid's
volume, and extruding it is scaling that solid in z.
"""

from __future__ import annotations

import math
from collections.abc import Sequence
from fractions import Fraction
from typing import Any, final

from corvanthium import _native
from corvanthium._circles import circle, count_of, doubled, exact_positive, unit_circle, unit_point, unit_points
from corvanthium._mesh_input import from_mesh
from corvanthium._native import KernelError
from corvanthium._rotation import exact
from corvanthium._solid import Solid, _wrap
from corvanthium._types import Number, Point2

Point3 = tuple[Fraction, Fraction, Fraction]


@final
class Sketch:
    """An exact planar region (outlines with holes) in the plane z = 0, immutable.

    Made with ``Sketch.polygon``, ``Sketch.circle`` and ``Sketch.rectangle``,
    combined with ``|`` (union), ``-`` (cut) and ``&`` (intersect), moved
    with ``translate`` and ``rotate``; ``extrude`` and ``revolve`` make
    solids of it. Everything is exact; refusals are KernelErrors naming the
    argument (an outline that crosses itself names the two edges).

    >>> plate = Sketch.rectangle(20, 10) - Sketch.circle(2, 32)
    >>> plate.extrude(3).volume == 3 * plate.area
    True
    """

    __slots__ = ("_body",)
    _body: Solid

    def __init__(self, body: Solid) -> None:
        """Made by the class's constructors and operators; the body is the region swept from z = 0 to 1."""
        self._body = body

    @staticmethod
    def polygon(points: Sequence[Point2]) -> Sketch:
        """The region inside the outline through points (x, y), either way round.

        Raises KernelError naming the two edges when the outline crosses or
        touches itself, and for fewer than three distinct points or points
        all on one line.
        """
        return Sketch(_wrap(_native.prism(points, 1, label="sketch")))

    @staticmethod
    def circle(radius: Number, segments: int, *, center: Sequence[Number] = (0, 0)) -> Sketch:
        """The disc of ``corvanthium.circle(radius, segments, center=center)``: vertices exactly
        on the circle, every edge with a rational unit normal."""
        return Sketch.polygon(circle(radius, segments, center=center))

    @staticmethod
    def rectangle(width: Number, height: Number, *, centered: bool = True) -> Sketch:
        """The width x height rectangle, centred on the origin, or with its lower left corner
        there when centered is False."""
        w, h = exact(width, "width"), exact(height, "height")
        x0, y0 = (-w / 2, -h / 2) if centered else (Fraction(0), Fraction(0))
        return Sketch.polygon([(x0, y0), (x0 + w, y0), (x0 + w, y0 + h), (x0, y0 + h)])

    def __or__(self, other: Sketch) -> Sketch:
        return Sketch(self._body | _body(other)) if isinstance(other, Sketch) else NotImplemented

    def __sub__(self, other: Sketch) -> Sketch:
        return Sketch(self._body - _body(other)) if isinstance(other, Sketch) else NotImplemented

    def __and__(self, other: Sketch) -> Sketch:
        return Sketch(self._body & _body(other)) if isinstance(other, Sketch) else NotImplemented

    def translate(self, x: Number, y: Number) -> Sketch:
        """The sketch moved by (x, y), exactly."""
        return Sketch(self._body.translate(x, y, 0))

    def rotate(self, degrees: Number | None = None, **kwargs: Any) -> Sketch:
        """The sketch turned counter-clockwise about the origin, exactly as ``Solid.rotate``
        about "z" turns (``degrees`` within its tolerance, or ``cos=``, ``sin=``)."""
        return Sketch(self._body.rotate("z", degrees, **kwargs))

    @property
    def area(self) -> Fraction:
        """The exact area."""
        return self._body.volume

    def extrude(self, height: Number) -> Solid:
        """The solid swept by the region from z = 0 to z = height; holes become through holes.
        Its faces keep the sketch's labels."""
        return self._body.scale(1, 1, exact_positive(height, "height"))

    def revolve(self, degrees: Number = 360, segments: int = 64, *, label: str = "revolve") -> Solid:
        """The solid swept by turning the region about the z axis: the sketch's x is the distance
        from the axis and its y becomes z. ``segments`` steps make a full turn (a part turn takes
        its share); every vertex lies exactly on its circle, every facet is planar.

        Raises KernelError when the region reaches x < 0 (across the axis).
        """
        turn = exact(degrees, "degrees")
        if not 0 < turn <= 360:
            raise KernelError(f"argument 'degrees' must be above 0 and at most 360, got {turn}")
        (x_lo, _, _), _ = self._body.bbox
        if x_lo < 0:
            raise KernelError("revolve: the sketch reaches x < 0; its x is the distance from the axis")
        full = turn == 360
        steps = max(1, math.ceil(count_of(segments, "segments", 3) * turn / 360))
        around = _turn_points(steps if full else steps + 1, float(turn) * math.pi / 180, full)
        vertices: list[Point3] = []
        faces: list[tuple[int, int, int]] = []
        index: dict[tuple[Fraction, Fraction, int], int] = {}

        def at(x: Fraction, y: Fraction, k: int) -> int:
            k = k % len(around) if full else k
            if x == 0:
                k = 0  # a point on the axis is one point all the way round
            key = (x, y, k)
            if key not in index:
                c, s = around[k]
                index[key] = len(vertices)
                vertices.append((x * c, x * s, y))
            return index[key]

        mesh = self._body.mesh()
        points = mesh.exact_vertices
        for a, b, c in mesh.faces.tolist():
            za, zb, zc = points[a][2], points[b][2], points[c][2]
            if not full and za == zb == zc == 0:
                # The region's bottom triangles run clockwise seen from +z: as they are, they
                # face +phi at the end of the turn; reversed, -phi at its start.
                corners = [(points[i][0], points[i][1]) for i in (a, b, c)]
                faces.append((at(*corners[2], 0), at(*corners[1], 0), at(*corners[0], 0)))
                faces.append((at(*corners[0], steps), at(*corners[1], steps), at(*corners[2], steps)))
        for (x0, y0), (x1, y1) in _boundary_edges(mesh, points):
            # The region lies left of each edge: the swept quad p q r s faces into it, so its
            # triangles are taken the other way round.
            for k in range(steps):
                p, q = at(x0, y0, k), at(x1, y1, k)
                r, s = at(x1, y1, k + 1), at(x0, y0, k + 1)
                for tri in ((p, r, q), (p, s, r)):
                    if len(set(tri)) == 3:
                        faces.append(tri)
        return from_mesh(vertices, faces, label=label)

    def __repr__(self) -> str:
        return f"Sketch(area {self.area})"


def _body(sketch: Sketch) -> Solid:
    return sketch._body


def _turn_points(count: int, span: float, full: bool) -> list[tuple[Fraction, Fraction]]:
    """count exact unit points from angle 0, about evenly spaced over span (the last at span
    itself when the turn is not full, within the circle's spacing)."""
    if full:
        return unit_circle(count)
    points = [unit_point(doubled(p)) for p in unit_points(count, span / 2 * count / (count - 1))]
    return points


Edge2 = tuple[tuple[Fraction, Fraction], tuple[Fraction, Fraction]]


def _boundary_edges(mesh: Any, points: Sequence[Point3]) -> list[Edge2]:
    """The region's boundary edges in the bottom face (z = 0), each directed as the region's
    outline runs (counter-clockwise round outer loops, seen from +z)."""
    edges: list[Edge2] = []
    for a, b, c in mesh.faces.tolist():
        tri = (a, b, c)
        if all(points[i][2] == 0 for i in tri):
            continue
        for i in range(3):
            u, v, w = tri[i], tri[(i + 1) % 3], tri[(i + 2) % 3]
            # A side triangle with an edge in z = 0: seen from outside, counter-clockwise, its
            # bottom edge runs left to right, the way the outline runs.
            if points[u][2] == 0 and points[v][2] == 0 and points[w][2] == 1:
                edges.append(((points[u][0], points[u][1]), (points[v][0], points[v][1])))
    return edges
