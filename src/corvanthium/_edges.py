"""A solid's edges as frozen ``Edge`` records."""

from __future__ import annotations

from dataclasses import dataclass

from corvanthium._native import NativeSolid
from corvanthium._types import Point3


@dataclass(frozen=True, slots=True)
class Edge:
    """One edge of a solid: a maximal straight segment where two of its faces meet.

    A face is the part of the surface in one plane facing one way (polygons of one face
    that share a side make no edge). ``start`` and ``end`` are exact points (Fraction
    triples), ``direction`` is ``end - start``; ``normals`` are the two faces' exact
    outward normals (integers, not normalised) and ``labels`` their labels, ``normals[i]``
    and ``labels[i]`` belonging to the same face, the face whose boundary runs from
    ``start`` to ``end`` first. ``convex`` says exactly whether the solid's interior angle
    at the edge is below 180 degrees; ``angle`` is that angle in degrees (90 at a box's
    edge, 270 at the inner edge of an L) and ``length`` the edge's length, both floats.
    """

    __module__ = "corvanthium"

    start: Point3
    end: Point3
    direction: Point3
    normals: tuple[Point3, Point3]
    labels: tuple[str, str]
    convex: bool
    angle: float
    length: float


def edges_of(core: NativeSolid) -> tuple[Edge, ...]:
    """The Edge records of a native solid, in the kernel's order."""
    return tuple(
        Edge(
            start,
            end,
            (end[0] - start[0], end[1] - start[1], end[2] - start[2]),
            (normal0, normal1),
            (label0, label1),
            convex,
            angle,
            length,
        )
        for start, end, normal0, normal1, label0, label1, convex, angle, length in core.edges()
    )
