"""Solid.edges() and Solid.chamfer(): the edges as records, and bevels on
boxes, convex solids, prisms and non-convex parts, with their refusals."""

import dataclasses
from fractions import Fraction as F

import pytest

import corvanthium as cv

L_BRACKET = [(0, 0), (60, 0), (60, 6), (6, 6), (6, 50), (0, 50)]


def test_edges_are_exact_frozen_records_in_a_fixed_order():
    box = cv.box(3, 2, 1, label="b")
    edges = box.edges()
    assert len(edges) == 12 and all(isinstance(e, cv.Edge) for e in edges)
    for e in edges:
        assert e.direction == tuple(b - a for a, b in zip(e.start, e.end, strict=True))
        assert all(isinstance(c, F) for c in (*e.start, *e.end, *e.normals[0], *e.normals[1]))
        assert e.convex and e.angle == 90 and e.length == float(max(e.direction))
        # normals[i] and labels[i] are one face's: its outward normal points away from the box.
        for normal, label in zip(e.normals, e.labels, strict=True):
            side = {"b.left": (-1, 0, 0), "b.right": (1, 0, 0), "b.front": (0, -1, 0), "b.back": (0, 1, 0)}
            side |= {"b.bottom": (0, 0, -1), "b.top": (0, 0, 1)}
            assert normal == side[label]
    with pytest.raises(dataclasses.FrozenInstanceError):
        edges[0].convex = False  # type: ignore[misc]
    # The same box made of two halves: the seam is no edge, and the order is the same.
    halves = cv.box(1, 2, 1) | cv.box(2, 2, 1).translate(1, 0, 0)
    assert [(e.start, e.end, e.normals) for e in halves.edges()] == [(e.start, e.end, e.normals) for e in edges]


def test_edges_of_an_l_bracket_know_its_inner_edge():
    edges = cv.prism(L_BRACKET, 40).edges()
    assert len(edges) == 18 and len(set(edges)) == 18
    (inner,) = [e for e in edges if not e.convex]
    assert (inner.start, inner.end, inner.angle) == ((6, 6, 0), (6, 6, 40), 270.0)
    assert {e.angle for e in edges} == {90.0, 270.0}
