"""Chamfers through the Python module: exact volumes, errors, closedness."""

from fractions import Fraction

import pytest

import corvanthium_rs as cr

K2 = "chamfer: non-rational face normal (K2)"
L_OUTLINE = ["0", "0", "2", "0", "2", "1", "1", "1", "1", "2", "0", "2"]


def volume(solid):
    return Fraction(solid.volume6_str()) / 6


def box(dx, dy, dz, at=("0", "0", "0")):
    return cr.make_box(str(dx), str(dy), str(dz), "box").translate(*at)


def expected_box_volume(a, b, c, d):
    """a x b x c bevelled by d on every edge and corner, for small d."""
    return a * b * c - 2 * d * d * (a + b + c) + Fraction(16, 3) * d**3


@pytest.mark.parametrize(
    "dist, volume6",
    [("1/10", "709/125"), ("1/4", "17/4"), ("-1/10", "1419/250"), ("2/20", "709/125")],
)
def test_unit_box_volumes(dist, volume6):
    assert box(1, 1, 1).chamfer(dist).volume6_str() == volume6


def test_unit_box_float_volume():
    assert box(1, 1, 1).chamfer("1/10").volume() == pytest.approx(709 / 750)


@pytest.mark.parametrize(
    "sizes, at",
    [
        ((10, 1, 1), ("0", "0", "0")),
        ((1, 10, 1), ("0", "0", "0")),
        ((1, 1, 10), ("-3", "1/2", "7")),
        ((9, 2, 1), ("5", "-4", "0")),
        ((3, 1, 1), ("0", "0", "0")),  # the edge is reached exactly from its end
        ((2, 3, 1), ("0", "0", "0")),
    ],
)
def test_every_box_edge_is_bevelled_over_its_whole_length(sizes, at):
    d = Fraction(1, 10)
    result = box(*sizes, at=at).chamfer("1/10")
    assert volume(result) == expected_box_volume(*sizes, d)
    assert result.watertight_ok()


def test_long_box_documented_value():
    assert volume(box(10, 1, 1).chamfer("1/10")) == Fraction(3662, 375)


def test_zero_distance_returns_the_same_faces():
    solid = box(2, 3, 5, at=("1", "1", "1"))
    same = solid.chamfer("0")
    assert same.canonical() == solid.canonical()
    assert same.volume6_str() == solid.volume6_str()


def test_solid_without_edges_is_copied():
    flat = cr.make_box("2", "3", "0", "f")  # two faces on one plane
    assert flat.chamfer("1/10").canonical() == flat.canonical()


def test_second_chamfer_fails_with_value_error():
    once = box(1, 1, 1).chamfer("1/10")
    with pytest.raises(ValueError) as info:
        once.chamfer("1/10")
    assert str(info.value) == K2
    with pytest.raises(ValueError):  # raised before the distance matters
        once.chamfer("0")


@pytest.mark.parametrize(
    "solid, dist",
    [(lambda: cr.make_box("0", "0", "1", "e"), "1/10"), (lambda: box(1, 1, 1), "1/0"), (lambda: box(1, 1, 1), "0.1")],
)
def test_internal_failures(solid, dist):
    with pytest.raises(BaseException) as info:
        solid().chamfer(dist)
    assert type(info.value).__name__ == "PanicException"


def test_input_solid_is_unchanged():
    solid = box(1, 1, 1)
    text = solid.canonical()
    solid.chamfer("1/4")
    assert solid.canonical() == text


def l_prism():
    return cr.make_prism(L_OUTLINE, "1", "l")


@pytest.mark.parametrize(
    "make",
    [
        lambda: box(3, 2, 1),
        l_prism,
        lambda: box(2, 1, 1).boolean("union", box(1, 2, 1)),  # an L from two boxes
        lambda: box(2, 2, 2).boolean("union", box(2, 2, 2, at=("1", "1", "1"))),
        lambda: box(1, 1, 1).boolean("union", box(1, 1, 1, at=("2", "0", "0"))),
    ],
    ids=["box", "l-prism", "l-union", "overlapping-union", "apart-union"],
)
def test_chamfered_solids_are_closed(make):
    solid = make()
    result = solid.chamfer("1/10")
    assert result.watertight_ok()
    assert 0 < volume(result) < volume(solid)
