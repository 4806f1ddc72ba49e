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


def test_boxes_match_the_cutter_chamfer_below_half_their_smallest_side():
    for sizes, dist in (((1, 1, 1), F(1, 10)), ((3, 2, 1), F(49, 100)), ((5, F(7, 3), 4), 1)):
        box = cv.box(*sizes)
        bevelled = box.chamfer(dist)
        assert bevelled.is_watertight and bevelled.same_shape(box.chamfer(dist, method="cutters"))
    assert cv.box(1, 1, 1).chamfer(F(1, 10)).volume == F(709, 750)
    for dist in (F(1, 2), 1, 3):
        with pytest.raises(
            cv.KernelError, match=r"dist .* too large: edge \(.*\) of face 'box\.\w+' and edge .* apart"
        ):
            cv.box(3, 2, 1).chamfer(dist)


def _offset_outline(points, d):
    """Each corner V of a Pythagorean outline replaced by V - d u_in and V + d u_out."""
    out = []
    for i, v in enumerate(points):
        a, b = points[i - 1], points[(i + 1) % len(points)]
        for p, q, sign in ((a, v, -1), (v, b, 1)):
            dx, dy = q[0] - p[0], q[1] - p[1]
            length = F(int((dx * dx + dy * dy) ** 0.5 + 0.5))
            assert length * length == dx * dx + dy * dy
            out.append((v[0] + sign * d * dx / length, v[1] + sign * d * dy / length))
    return out


def test_upright_edges_of_pythagorean_prisms_cut_convex_corners_and_fill_reflex_ones():
    outlines = [
        [(0, 0), (12, 0), (12, 5), (8, 8), (8, 14), (0, 14)],  # one reflex corner after a 3-4-5 edge
        [(0, 0), (8, 0), (8, 6), (4, 3), (0, 6)],  # a notch of two 3-4-5 edges
        L_BRACKET,
    ]
    for outline in outlines:
        prism = cv.prism(outline, 5)
        for d in (F(1, 2), F(7, 5)):
            got = prism.chamfer(d, edges=lambda e: e.direction[:2] == (0, 0))
            assert got.same_shape(cv.prism(_offset_outline(outline, d), 5)), (outline, d)
            assert {label for e in got.edges() for label in e.labels} >= {"chamfer", "prism.top"}


def _near(solid, lo, hi):
    """The volume of the solid within the box from lo to hi."""
    size = [b - a for a, b in zip(lo, hi, strict=True)]
    return (solid & cv.box(*size).translate(*lo)).volume


def _check_part(part, d, skip=()):
    """Every edge of an axis-aligned part, all chamfered by d: closed; the same as the part away
    from the edges; near each edge's middle exactly its wedge cut away or its fill added."""
    got = part.chamfer(d)
    assert got.is_watertight
    edges = part.edges()
    around = cv.union_all(
        cv.box(*(abs(b - a) + 4 * d for a, b in zip(e.start, e.end, strict=True))).translate(
            *(min(a, b) - 2 * d for a, b in zip(e.start, e.end, strict=True))
        )
        for e in edges
    )
    assert (got - around).same_shape(part - around)
    for e in edges:
        if (e.start, e.end) in skip:
            continue
        axis = next(i for i in range(3) if e.direction[i])
        mid = [(a + b) / 2 for a, b in zip(e.start, e.end, strict=True)]
        length = abs(e.direction[axis])
        if length <= 2 * d:
            continue  # corners all along
        half = [d if i != axis else min(length / 4, length / 2 - d) for i in range(3)]
        lo = [m - h for m, h in zip(mid, half, strict=True)]
        hi = [m + h for m, h in zip(mid, half, strict=True)]
        triangle = d * d / 2 * 2 * half[axis]
        assert _near(got, lo, hi) == _near(part, lo, hi) + (-triangle if e.convex else triangle), e
    return got


def test_non_convex_parts_are_bevelled_along_every_edge(tmp_path):
    ell = _check_part(cv.prism(L_BRACKET, 40), 2)
    assert ell.volume > cv.prism(L_BRACKET, 40).chamfer(2, method="cutters").volume
    # The inside corners at the top and bottom (two convex edges, one concave) are the ones the
    # space around the L gets (one convex, two concave): the bevelled space leaves the same part.
    space = (cv.box(100, 100, 100).translate(-20, -20, -20) - cv.prism(L_BRACKET, 40)).chamfer(2)
    for z in (-5, 35):
        corner = cv.box(10, 10, 10).translate(1, 1, z)
        assert (ell & corner).same_shape(corner - (space & corner))
    plate = cv.box(20, 20, 3) - cv.box(4, 4, 5).translate(3, 3, -1) - cv.box(6, 5, 2).translate(10, 10, 2)
    _check_part(plate, F(1, 2))
    # A pocket's floor corner is filled as a box's corner is cut: the pocket's void bevelled.
    deep = cv.box(20, 20, 6) - cv.box(6, 5, 5).translate(10, 10, 2)
    corner = cv.box(1, 1, F(6, 5)).translate(10, 10, 2)
    void = cv.box(6, 5, 8).translate(10, 10, 2).chamfer(F(1, 2))
    assert (deep.chamfer(F(1, 2)) & corner).same_shape(corner - void)
    _check_part(cv.box(8, 8, 2) | cv.box(2, 3, 3).translate(3, 3, 2), F(1, 4))  # a boss: roots filled
    # Up the edge x = 4, y = 0 the front face runs on straight where the other face turns from
    # x = 4 to x + y = 4: the two bevels end square across the edge there.
    ramp = cv.box(4, 4, 2) | cv.prism([(0, 0), (4, 0), (0, 4)], 2).translate(0, 0, 2)
    assert ramp.chamfer(F(1, 4)).is_watertight


def test_heat_sink_fins_roots_and_the_narrow_strips_beside_them():
    fins = [cv.box(F(3, 2), 60, 31).translate(1 + F(10, 3) * i, 0, 4) for i in range(30)]
    sink = cv.union_all([cv.box(100, 60, 5), *fins])
    d = F(1, 2)
    last_root = ((F(595, 6), 0, 5), (F(595, 6), 60, 5))  # the last fin's right side, 5/6 from the base's edge
    got = _check_part(sink, d, skip={last_root, ((100, 0, 5), (100, 60, 5))})
    # Beside the last fin the strip of base is narrower than 2 d: the fill of the fin's root
    # ends under the bevel of the base's edge, which runs on as one plane x + z = 209/2.
    # Across x from 589/6 to 101, z from 3 to 7: the base, the fin, the fill up to that plane,
    # less the bevel's corner of the base.
    area = (100 - F(589, 6)) * 2 + 1 * 2 + F(1, 2) * (F(209, 2) - 5 - F(595, 6)) ** 2 - F(1, 2) * d * d
    assert _near(got, (F(589, 6), 20, 3), (101, 40, 7)) == 20 * area


def _setbacks(original, got):
    """For each edge of got between a bevel and another face, the square of its distance from
    the nearest parallel edge among the original edges in that face (exact)."""
    out = []
    for r in got.edges():
        if r.labels.count("chamfer") != 1:
            continue
        normal = r.normals[r.labels.index("chamfer") ^ 1]
        gaps = []
        for e in original:
            if normal not in e.normals:
                continue
            d, off = e.direction, [a - b for a, b in zip(r.start, e.start, strict=True)]
            cross = [d[1] * off[2] - d[2] * off[1], d[2] * off[0] - d[0] * off[2], d[0] * off[1] - d[1] * off[0]]
            along = [d[1] * r.direction[2] - d[2] * r.direction[1], d[0] * r.direction[1] - d[1] * r.direction[0]]
            if any(along) or d[2] * r.direction[0] != d[0] * r.direction[2]:
                continue
            gaps.append(sum(c * c for c in cross) / sum(c * c for c in d))
        if gaps:
            out.append(min(gaps))
    return out


def _near_setback(squares, d):
    return all(abs(float(g) ** 0.5 / d - 1) < 1e-12 for g in squares)


def test_rounded_bevels_keep_their_setback_and_a_bevel_face_bevels_again():
    slanted = cv.prism([(0, 0), (2, 0), (1, 1)], 1)  # two faces with normals (1, 1, 0), (-1, 1, 0)
    got = slanted.chamfer(F(1, 10))
    assert got.is_watertight and (got - slanted).volume == 0
    gaps = _setbacks(slanted.edges(), got)
    assert len(gaps) >= 18 and _near_setback(gaps, 0.1)
    once = cv.box(4, 4, 4).chamfer(1, edges=lambda e: e.start == (0, 0, 0) and e.end == (4, 0, 0))
    assert once.volume == 62
    twice = once.chamfer(F(1, 4), edges=lambda e: "chamfer" in e.labels)
    assert twice.is_watertight and (twice - once).volume == 0 and 61 < twice.volume < 62
    assert _near_setback(_setbacks(once.edges(), twice), 0.25)
    # Round shapes: faces meeting almost flat, every unit normal rational, so setbacks exact.
    rims = lambda e: e.direction[2] == 0  # noqa: E731
    for cylinder, chosen, d in ((cv.cylinder(5, 10, 24), None, F(1, 2)), (cv.cylinder(5, 10, 64), rims, F(1, 2))):
        got = cylinder.chamfer(d, edges=chosen)
        assert got.is_watertight and (got - cylinder).volume == 0 and got.volume < cylinder.volume - 3 * d
        assert set(_setbacks([e for e in cylinder.edges() if chosen is None or chosen(e)], got)) == {d * d}
    plate = cv.box(20, 20, 3) - cv.cylinder(4, 5, 32).translate(10, 10, -1)
    hole = [e for e in plate.edges() if "cylinder.side" in e.labels[0] + e.labels[1] and rims(e)]
    got = plate.chamfer(F(1, 2), edges=hole)
    assert got.is_watertight and (got - plate).volume == 0 and got.volume < plate.volume  # countersunk
    assert set(_setbacks(hole, got)) == {F(1, 4)}


def test_edges_chosen_by_records_or_predicate_and_what_is_refused():
    box = cv.box(2, 3, 4)
    tops = [e for e in box.edges() if e.start[2] == 4 and e.end[2] == 4]
    assert box.chamfer(F(1, 2), edges=iter(tops)).same_shape(box.chamfer(F(1, 2), edges=lambda e: e in tops))
    assert box.chamfer(1, edges=[]).canonical() == box.canonical()
    refusals = [
        (lambda: box.chamfer(0), cv.KernelError, "'dist' must be positive, got 0"),
        (lambda: box.chamfer(1, edges=cv.box(2, 3, 5).edges()[:1]), cv.KernelError, "not an edge of this solid"),
        (lambda: box.chamfer(1, edges=[1]), TypeError, "must hold Edge records, got int"),
        (lambda: box.chamfer(1, method="round"), ValueError, "method must be None or 'cutters'"),
        (lambda: box.chamfer(1, edges=tops, method="cutters"), TypeError, "takes no edges"),
        (lambda: (box & cv.box(1, 1, 1).translate(5, 5, 5)).chamfer(1), cv.KernelError, "empty"),
    ]
    post = cv.prism(L_BRACKET, 40) | cv.box(3, 3, 40).translate(F(13, 2), F(13, 2), 0)
    reach = "bevel of edge \\(6, 6, 0\\) to \\(6, 6, 40\\) .* would reach face 'box.front' near"
    refusals.append((lambda: post.chamfer(2, edges=lambda e: not e.convex), cv.KernelError, reach))
    for call, error, message in refusals:
        with pytest.raises(error, match=message):
            call()
    # Within reach of another part only through its widening: the piece is made flush instead.
    pair = cv.box(3, 3, 3) | cv.box(3, 3, 3).translate(F(33, 10), 0, 0)
    right = pair.chamfer(1, edges=lambda e: e.start[0] == e.end[0] == 3)
    assert right.volume == cv.box(3, 3, 3).chamfer(1, edges=lambda e: e.start[0] == e.end[0] == 3).volume + 27
    # Two boxes meeting along an edge (four faces on it, two corners at its ends) bevel as apart.
    one = cv.box(2, 2, 2).chamfer(F(1, 4))
    assert (
        (cv.box(2, 2, 2) | cv.box(2, 2, 2).translate(2, 2, 0)).chamfer(F(1, 4)).same_shape(one | one.translate(2, 2, 0))
    )
