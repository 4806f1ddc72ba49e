"""Face counts and closedness of boxes and of Boolean results."""

from fractions import Fraction

import pytest
from hypothesis import given, settings
from hypothesis import strategies as st

import corvanthium_rs as cr


def box(lo, hi, prefix="b"):
    """The axis-aligned box [lo, hi] (corner triples of number texts)."""
    sizes = [str(Fraction(h) - Fraction(low)) for low, h in zip(lo, hi)]
    return cr.make_box(*sizes, prefix).translate(*[str(Fraction(low)) for low in lo])


def test_boxes_have_six_faces_and_are_closed():
    for sizes in [("1", "2", "3"), ("1/3", "5/7", "100"), ("-1", "1", "1"), ("-2", "-3", "1/2")]:
        s = cr.make_box(*sizes, "b")
        assert s.logical_faces() == 6
        assert s.watertight_ok() is True
    # Moving, scaling or mirroring keeps the faces and the closure.
    s = cr.make_box("1", "2", "3", "b").translate("1/2", "-7", "0").scale("3", "-1/2", "1").mirror(1)
    assert s.logical_faces() == 6
    assert s.watertight_ok() is True


def test_flat_box_is_one_plane_seen_from_both_sides():
    s = cr.make_box("2", "3", "0", "b")
    assert s.logical_faces() == 1
    assert s.watertight_ok() is True


def test_empty_solid_has_no_faces_and_is_closed():
    s = cr.make_box("2", "0", "0", "b")
    assert s.logical_faces() == 0
    assert s.watertight_ok() is True


@pytest.mark.parametrize("op, faces", [("union", 12), ("cut", 9), ("intersect", 6)])
def test_overlapping_cubes(op, faces):
    a = box((0, 0, 0), (2, 2, 2), "a")
    b = box((1, 1, 1), (3, 3, 3), "b")
    r = a.boolean(op, b)
    assert r.logical_faces() == faces
    # Faces of each box are cut along the other's faces, so the union and the
    # cut close up only through T-junctions.
    assert r.watertight_ok() is True


def test_union_of_boxes_sharing_a_whole_face():
    a = box((0, 0, 0), (1, 1, 1), "a")
    b = box((1, 0, 0), (2, 1, 1), "b")
    r = a.boolean("union", b)
    assert r.logical_faces() == 6
    assert r.watertight_ok() is True


def test_t_junction_solids_are_closed():
    # A small box on top of a big one, and a notch cut into a face: the big
    # faces are matched by several shorter sides of the pieces around them.
    base = box((0, 0, 0), (4, 4, 1), "a")
    top = box((1, 1, 1), (2, 3, 2), "b")
    step = base.boolean("union", top)
    assert step.logical_faces() == 11
    assert step.watertight_ok() is True
    notch = base.boolean("cut", box((1, -1, "1/2"), (3, 2, 2), "c"))
    assert notch.logical_faces() == 10
    assert notch.watertight_ok() is True


coordinate = st.fractions(min_value=-3, max_value=3, max_denominator=4)


@st.composite
def rational_box(draw):
    lo = [draw(coordinate) for _ in range(3)]
    size = [draw(st.fractions(min_value=Fraction(1, 4), max_value=3, max_denominator=4)) for _ in range(3)]
    return tuple(lo), tuple(low + s for low, s in zip(lo, size))


@settings(max_examples=60, deadline=None)
@given(rational_box(), rational_box(), st.sampled_from(["union", "cut", "intersect"]))
def test_every_boolean_of_two_boxes_is_watertight(first, second, op):
    # Small denominators make touching and coplanar faces common.
    r = box(*first, "a").boolean(op, box(*second, "b"))
    assert r.watertight_ok() is True
