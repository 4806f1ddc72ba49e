"""The local engine against the BSP engine on programs whose operands touch:
the issue's programs, shrunk failures kept as regression cases, and seeded
random programs on small grids (tools/differential.py runs many more)."""

import grid_harness as gh
import pytest

import corvanthium as cv


def _agree(local, bsp):
    assert local.is_watertight
    assert local.volume == bsp.volume
    assert local.same_shape(bsp) and bsp.same_shape(local)
    mesh = local.mesh()
    assert gh._six_volume(mesh) == 6 * local.volume


def test_union_with_a_part_touching_along_an_edge():
    # The prism touches the slab along the line x = 1, y = 1; the union with
    # the slab again changes nothing, and cutting a box above removes nothing.
    slab = cv.box(1, 2, 1)
    tri = cv.prism([(1, 1), (2, 0), (2, 2)], 1)
    for engine in (None, "bsp"):
        s = slab.union(tri, engine=engine)
        assert s.volume == 3 and s.is_watertight
        r = s | slab
        _agree(r, s.union(slab, engine="bsp"))
        assert r.same_shape(s)
        _agree(s - cv.box(1, 2, 1).translate(0, 0, 1), s)


def test_union_all_of_parts_touching_along_edges():
    tri = cv.prism([(1, 1), (0, 1), (1, 0)], 2).translate(2, 1, -1)
    parts = [
        tri.union(cv.box(2, 1, 2).translate(1, 0, 0)),
        cv.box(2, 2, 1).translate(0, 1, 1).union(cv.prism([(0, 2), (1, 1), (2, 2)], 1).translate(0, 2, 1)),
        cv.box(1, 1, 2).translate(2, 0, 0),
    ]
    local, bsp = cv.union_all(parts), cv.union_all(parts, engine="bsp")
    assert bsp.volume == 10
    _agree(local, bsp)


# Programs the harness found wrong before the engine classified pieces at
# generic points, shrunk.
REGRESSIONS = [
    [("grid", 3), ("push", ("prism", ((3, 0), (2, 2), (2, 3), (1, 2)), 1, 2)), ("push", ("box", 1, 1, 2, (2, 1, 1))),
     ("op", "cut"), ("push", ("box", 1, 1, 1, (0, 0, 0))), ("op", "union"), ("push", ("box", 2, 3, 1, (1, 0, 2))),
     ("op", "intersect")],
    [("grid", 4), ("push", ("prism", ((2, 2), (3, 2), (4, 3), (0, 3)), 2, 1)), ("push", ("box", 1, 1, 3, (2, 3, 0))),
     ("push", ("prism", ((0, 4), (4, 2), (1, 1)), 3, 1)), ("op", "union"), ("move", -1, 1, 0), ("op", "union")],
    [("grid", 2), ("push", ("prism", ((2, 2), (0, 1), (0, 2)), 1, 1)),
     ("push", ("prism", ((2, 0), (1, 2), (1, 1)), 1, 1)), ("op", "cut"),
     ("push", ("prism", ((0, 0), (0, 1), (2, 2)), 1, 1)), ("op", "union")],
]  # fmt: skip

# Solids that both engines make, which mesh() refused: a face passing flat
# through a line where three parts of the solid touch, and such a line
# ending inside the face.
MESH_REGRESSIONS = [
    [("grid", 4), ("push", ("box", 1, 2, 1, (3, 0, 2))), ("push", ("prism", ((0, 0), (3, 2), (4, 4), (2, 4)), 2, 2)),
     ("op", "union"), ("push", ("box", 1, 1, 2, (2, 2, 2))), ("op", "cut")],
    [("grid", 3), ("push", ("prism", ((1, 0), (3, 0), (2, 3), (0, 1)), 2, 0)), ("push", ("box", 2, 2, 1, (0, 0, 1))),
     ("push", ("box", 3, 2, 1, (0, 1, 2))), ("op", "intersect"), ("push", ("box", 1, 1, 2, (1, 0, 1))), ("op", "cut"),
     ("push", ("box", 1, 2, 1, (2, 1, 1))), ("push", ("box", 2, 1, 3, (1, 1, 0))),
     ("push", ("box", 1, 1, 3, (2, 2, 0))), ("all", "union_all", 4), ("op", "cut"),
     ("push", ("box", 1, 1, 1, (0, 2, 0))), ("op", "union")],
]  # fmt: skip


@pytest.mark.parametrize("steps", REGRESSIONS + MESH_REGRESSIONS)
def test_shrunk_regressions(steps):
    assert gh.failure(steps) is None


@pytest.mark.parametrize("first", range(0, 2000, 250))
def test_random_grid_programs(first):
    for seed in range(first, first + 250):
        steps = gh.program(seed)
        assert gh.failure(steps) is None, (seed, steps)


def test_classifier_and_stored_form_reader():
    # The test's own tools on a solid with a cavity: the ray classifier
    # answers boundary on faces, edges and corners, and sees the cavity.
    import random
    from fractions import Fraction as F

    solid = cv.box(4, 4, 4) - cv.box(2, 2, 2).translate(1, 1, 1)
    faces = [gh._Face(*p) for p in gh.polygons(solid)]
    assert len(faces) == solid.polygon_count
    rng = random.Random(1)
    expect = {
        (F(1, 2), F(1, 2), F(1, 2)): "inside",
        (2, 2, 2): "outside",
        (1, 2, 2): "boundary",
        (4, 4, 4): "boundary",
        (0, 2, 4): "boundary",
        (F(9, 2), 1, 1): "outside",
        (3, 3, F(7, 2)): "inside",
    }
    for p, where in expect.items():
        assert gh.classify(faces, tuple(F(c) for c in p), rng) == where, p
