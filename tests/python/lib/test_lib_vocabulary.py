"""Exact rotations and maps, round shapes, patterns, placement and mass properties."""

import math
import random
from fractions import Fraction as F

import pytest

import corvanthium as cv

IDENTITY = ((1, 0, 0), (0, 1, 0), (0, 0, 1))


def product(a, b):
    return tuple(tuple(sum(a[i][k] * b[k][j] for k in range(3)) for j in range(3)) for i in range(3))


def transpose(m):
    return tuple(zip(*m, strict=True))


def det(m):
    return (
        m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1])
        - m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0])
        + m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0])
    )


@pytest.mark.parametrize(
    "kwargs",
    [
        dict(axis="z", degrees=30),
        dict(axis=(1, 2, 3), degrees=F(1, 3)),
        dict(axis=(1, 1, 1), degrees=200, tolerance=F(1, 10**30)),
        dict(axis="x", cos=F(3, 5), sin=F(-4, 5)),
        dict(quaternion=(1, 2, F(1, 2), -7)),
    ],
)
def test_rotations_are_exactly_orthogonal_and_keep_their_axis(kwargs):
    m = cv.rotation(**kwargs)
    assert product(m, transpose(m)) == IDENTITY and det(m) == 1
    if "axis" in kwargs:
        axis = {"x": (1, 0, 0), "z": (0, 0, 1)}.get(kwargs["axis"], kwargs["axis"])
        assert tuple(sum(m[i][j] * axis[j] for j in range(3)) for i in range(3)) == tuple(axis)


def test_angles_are_within_the_tolerance_or_exact():
    m = cv.rotation("z", 30)
    assert abs(math.atan2(m[1][0], m[0][0]) - math.pi / 6) < 1e-9
    fine = cv.rotation((1, 1, 1), 30, tolerance=F(1, 10**30))
    assert abs(float((fine[0][0] + fine[1][1] + fine[2][2] - 1) / 2) - math.cos(math.pi / 6)) < 1e-15
    assert cv.rotation("z", 90) == ((0, -1, 0), (1, 0, 0), (0, 0, 1))
    assert cv.rotation((1, 2, 2), 90)[0] == (F(1, 9), F(-4, 9), F(8, 9))  # |(1, 2, 2)| = 3
    assert cv.rotation((1, 1, 0), 180) == ((0, 1, 0), (1, 0, 0), (0, 0, -1))
    assert cv.rotation("z", cos=F(3, 5), sin=F(4, 5))[1][0] == F(4, 5)
    assert cv.rotation("z", -90) == cv.rotation("z", 270) == transpose(cv.rotation("z", 90))
    assert cv.rotation("z", 360 * 3 / 4) == cv.rotation("z", 270)  # a float angle is its binary fraction


@pytest.mark.parametrize(
    ("kwargs", "error"),
    [
        (dict(axis=(0, 0, 0), degrees=30), cv.KernelError),
        (dict(axis="w", degrees=30), cv.KernelError),
        (dict(axis="z", degrees=float("nan")), cv.KernelError),
        (dict(axis="z", degrees=True), TypeError),
        (dict(axis="z", cos=F(1, 2), sin=F(1, 2)), cv.KernelError),
        (dict(axis=(1, 1, 0), cos=F(3, 5), sin=F(4, 5)), cv.KernelError),  # length sqrt(2)
        (dict(quaternion=(0, 0, 0, 0)), cv.KernelError),
        (dict(axis="z", degrees=30, tolerance=0), cv.KernelError),
        (dict(axis="z"), TypeError),
    ],
)
def test_rotation_refusals(kwargs, error):
    with pytest.raises(error):
        cv.rotation(**kwargs)


def test_turned_and_mapped_solids_stay_exact_closed_and_outward():
    part = cv.prism([(0, 0), (4, 0), (4, 1), (1, 1), (1, 3), (0, 3)], 2)
    for turned in (
        part.rotate("z", 30),
        part.rotate((1, 2, 3), 77, about=(1, 1, 1)),
        part.rotate(quaternion=(1, 2, 3, 4)),
    ):
        assert turned.volume == part.volume and turned.is_watertight
    mirrored = part.transform([[-1, 0, 0], [0, 1, 0], [0, 0, 1]])
    assert mirrored.volume == part.volume and mirrored.same_shape(part.mirror("x"))
    sheared = part.transform([[1, F(1, 2), 0, 5], [0, 1, 0, 0], [0, 0, 2, -1]])
    assert sheared.volume == 2 * part.volume and sheared.is_watertight
    with pytest.raises(cv.KernelError, match="singular"):
        part.transform([[1, 0, 0], [0, 1, 0], [1, 1, 0]])
    with pytest.raises(cv.KernelError, match="rows"):
        part.transform([[1, 0], [0, 1], [0, 0]])


def test_round_shapes_lie_exactly_on_their_circles_and_spheres():
    outline = cv.circle(5, 24, center=(1, F(-1, 2)))
    assert all((x - 1) ** 2 + (y + F(1, 2)) ** 2 == 25 for x, y in outline)
    cyl = cv.cylinder(5, 10, 64)
    for x, y, z in cyl.mesh().exact_vertices:
        assert x * x + y * y == 25 and z in (0, 10)
    # every side face has a rational unit normal: the chord directions have rational length
    for (ax, ay), (bx, by) in zip(outline, outline[1:] + outline[:1], strict=True):
        squared = (bx - ax) ** 2 + (by - ay) ** 2
        assert math.isqrt(squared.numerator) ** 2 == squared.numerator
        assert math.isqrt(squared.denominator) ** 2 == squared.denominator
    ball = cv.sphere(2, 32)
    assert all(x * x + y * y + z * z == 4 for x, y, z in ball.mesh().exact_vertices)
    for solid, exact in [
        (cyl, math.pi * 250),
        (cv.sphere(1, 64), 4 / 3 * math.pi),
        (cv.cone(2, 0, 3, 64), math.pi * 4),
        (cv.torus(3, 1, 64, 32), 2 * math.pi**2 * 3),
    ]:
        assert solid.is_watertight and abs(float(solid.volume) / exact - 1) < 0.01


def test_mass_properties_match_closed_forms():
    b = cv.box(1, 2, 3).translate(1, 1, 1)
    assert b.centroid == (F(3, 2), 2, F(5, 2))
    assert b.inertia == ((F(13, 2), 0, 0), (0, 5, 0), (0, 0, F(5, 2)))  # m (b² + c²) / 12 ...
    assert b.surface_area == 22
    ell = cv.prism([(0, 0), (60, 0), (60, 6), (6, 6), (6, 50), (0, 50)], 40)
    assert ell.centroid == (F(483, 26), F(353, 26), 20)  # the two legs' centroids by area
    tilted = ell.rotate((1, 2, 3), 40)
    inertia = tilted.inertia
    assert all(inertia[i][j] == inertia[j][i] for i in range(3) for j in range(3))
    assert sum(inertia[i][i] for i in range(3)) == sum(ell.inertia[i][i] for i in range(3))  # trace is invariant
    assert ell.center().centroid == (0, 0, 0)
    assert ell.align("center", "center", "min").bbox == ((-30, -25, 0), (30, 25, 40))


def test_points_are_classified_exactly():
    b = cv.box(2, 2, 2)
    assert [b.contains(p) for p in [(0, 0, 0), (1, 0, 0), (1, 1, 0), (1, 1, 1), (3, 1, 1), (1, 1, F(-1, 10**30))]] == [
        "boundary",
        "boundary",
        "boundary",
        "inside",
        "outside",
        "outside",
    ]
    part = cv.box(4, 4, 4) - cv.box(2, 2, 8).translate(1, 1, -2) | cv.box(1, 1, 1).translate(F(3, 2), F(3, 2), 0)
    rng = random.Random(7)
    for _ in range(300):
        x, y, z = p = tuple(F(rng.randint(-2, 18), 4) for _ in range(3))
        in_box = 0 < x < 4 and 0 < y < 4 and 0 < z < 4
        in_hole = 1 <= x <= 3 and 1 <= y <= 3
        in_block = F(3, 2) < x < F(5, 2) and F(3, 2) < y < F(5, 2) and 0 < z < 1
        got = part.contains(p)
        if got != "boundary":  # points on a face are checked above
            assert (got == "inside") == ((in_box and not in_hole) or in_block), p


def test_patterns_unite_their_copies():
    ring = cv.polar_pattern(cv.box(1, 1, 1).translate(3, 0, 0), 6)
    assert ring.volume == 6 and ring.is_watertight
    assert cv.grid_pattern(cv.box(1, 1, 1), 3, 2, 2, 2).volume == 6
    assert cv.grid_pattern(cv.box(2, 1, 1), 3, 1, 1, 1).volume == 4  # overlapping copies


def test_sketches_have_exact_areas_holes_and_revolutions():
    hole = cv.circle(2, 32)
    shoelace = sum(x0 * y1 - x1 * y0 for (x0, y0), (x1, y1) in zip(hole, hole[1:] + hole[:1], strict=True)) / 2
    plate = cv.Sketch.rectangle(20, 10) - cv.Sketch.circle(2, 32)
    assert plate.area == 200 - shoelace
    body = cv.prism(plate, 3)
    assert body.volume == 3 * plate.area and body.is_watertight
    assert body.contains((0, 0, F(3, 2))) == "outside" and body.contains((5, 0, F(3, 2))) == "inside"
    assert (plate.translate(1, 2).rotate(90) | plate).area > plate.area
    ring = cv.Sketch.rectangle(2, 4, centered=False).translate(3, 0)
    for degrees, share in [(360, 1), (90, F(1, 4))]:
        solid = ring.revolve(degrees, 64)
        pappus = 2 * math.pi * 4 * 8 * share  # 2 pi x A, x = 4 the centroid's distance
        assert solid.is_watertight and abs(float(solid.volume) / pappus - 1) < 0.01
    cone = cv.Sketch.polygon([(0, 0), (2, 0), (0, 3)]).revolve()
    assert cone.is_watertight and abs(float(cone.volume) / (math.pi * 4) - 1) < 0.01
    with pytest.raises(cv.KernelError, match="edge 0 from .* and edge 2"):
        cv.Sketch.polygon([(0, 0), (2, 2), (2, 0), (0, 2)])
    with pytest.raises(cv.KernelError, match="x < 0"):
        cv.Sketch.rectangle(2, 2).revolve()


def test_split_halves_add_up_and_sections_are_exact():
    part = cv.box(10, 10, 2) - cv.box(2, 2, 4).translate(4, 4, -1)
    for point, normal in [
        ((5, 5, 0), (1, 1, 0)),
        ((0, 0, 1), (0, 0, 1)),
        ((3, 0, 0), (2, -1, 5)),
        ((0, 0, 9), (0, 0, 1)),
    ]:
        back, front = cv.split(part, point, normal)
        assert back.volume + front.volume == part.volume
        assert all(h.polygon_count == 0 or h.is_watertight for h in (back, front))
    cut = cv.section(part, (0, 0, 1), (0, 0, 1))
    assert cut.area == 96 and sorted(cut.outer) == [False, True] and cut.to_sketch().area == 96
    tilted = cv.section(cv.box(4, 4, 4), (0, 0, 2), (0, 3, 4))  # |normal| = 5: an exact area
    assert tilted.area == F(40, 3)  # 4 wide, from (0, 0, 2) to (0, 8/3, 0): 10/3 long
    assert cv.section(cv.box(1, 1, 1), (0, 0, 5), (0, 0, 1)).area == 0
    with pytest.raises(cv.KernelError, match="normal"):
        cv.split(part, (0, 0, 0), (0, 0, 0))


def test_pieces_and_hulls():
    a = cv.box(1, 1, 1)
    assert [p.volume for p in (a | a.translate(1, 1, 0)).components()] == [1, 1]  # touching along an edge
    assert [p.volume for p in (a | a.translate(1, 1, 1)).components()] == [1, 1]  # at a point
    hollow = cv.box(4, 4, 4) - cv.box(2, 2, 2).translate(1, 1, 1)
    pieces = (hollow | a.translate(9, 0, 0)).components()
    assert [p.volume for p in pieces] == [56, 1] and pieces[0].same_shape(hollow)
    assert cv.box(1, 1, 1).translate(5, 0, 0).components()[0].is_watertight
    rng = random.Random(3)
    cube = [(x, y, z) for x in (0, 2) for y in (0, 2) for z in (0, 2)]
    inner = [tuple(F(rng.randint(1, 99), 50) for _ in range(3)) for _ in range(100)]
    points = cube + inner
    rng.shuffle(points)
    assert cv.hull(points).same_shape(cv.box(2, 2, 2))
    ball = cv.sphere(1, 16)
    assert cv.hull(ball).same_shape(ball)  # a convex solid is its own hull
    with pytest.raises(cv.KernelError, match="one plane"):
        cv.hull([(0, 0, 0), (1, 0, 0), (0, 1, 0), (1, 1, 0), (2, 2, 0)])
