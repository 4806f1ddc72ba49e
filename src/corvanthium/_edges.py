"""A solid's edges as frozen ``Edge`` records."""

from __future__ import annotations

from collections.abc import Callable, Iterable
from dataclasses import dataclass
from fractions import Fraction

from corvanthium._native import KernelError, NativeSolid
from corvanthium._types import Number, Point3


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
    Records compare equal exactly when all their fields do. Solid.edges() makes them; it
    raises KernelError for a surface that is not closed.
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


EdgeChoice = Iterable[Edge] | Callable[[Edge], object] | None


def chamfer_core(core: NativeSolid, dist: Number, edges: EdgeChoice, method: str | None) -> NativeSolid:
    """The native solid chamfered as Solid.chamfer describes."""
    if method is not None or edges is None:
        if method is not None and edges is not None:
            raise TypeError("chamfer(): method='cutters' bevels every edge; it takes no edges")
        return core.chamfer(dist, method=method)
    all_edges = edges_of(core)
    if callable(edges):
        return core.chamfer(dist, edges=[i for i, edge in enumerate(all_edges) if edges(edge)])
    try:
        items = iter(edges)
    except TypeError:
        raise TypeError(
            f"chamfer(): edges must be None, an iterable of Edge records or a predicate, got {type(edges).__name__}"
        ) from None
    index = {edge: i for i, edge in enumerate(all_edges)}
    chosen = []
    for edge in items:
        if not isinstance(edge, Edge):
            raise TypeError(f"chamfer(): edges must hold Edge records, got {type(edge).__name__}")
        if edge not in index:
            raise KernelError(
                f"chamfer: edge {_point(edge.start)} to {_point(edge.end)} between faces {edge.labels[0]!r} and "
                f"{edge.labels[1]!r} is not an edge of this solid; take the edges from this solid's edges()"
            )
        chosen.append(index[edge])
    return core.chamfer(dist, edges=chosen)


def _point(p: tuple[Fraction, ...]) -> str:
    return "(" + ", ".join(str(c) for c in p) + ")"
