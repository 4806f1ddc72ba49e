"""Meshes made by trimesh (icosphere, cylinder, torus) come in exactly, and
their Booleans, coplanar, touching and identical operands included, come out
closed with the same exact volume from both engines."""

import os
from fractions import Fraction

import pytest
from mesh_checks import check_mesh, six_volume

import corvanthium as cv

trimesh = pytest.importorskip("trimesh")

# Under the sanitizers everything runs many times slower: smaller meshes.
SLOW = "asan" in os.environ.get("LD_PRELOAD", "")


def exact_points(t):
    return [tuple(Fraction(float(c)) for c in p) for p in t.vertices]


def imported(t, label):
    s = cv.from_mesh(t.vertices, t.faces, label=label)
    assert s.volume * 6 == six_volume(exact_points(t), t.faces.tolist())
    assert s.polygon_count == len(t.faces)
    return s


def make_shapes(sphere_subdivisions, cylinder_sections, torus_sections):
    sphere = trimesh.creation.icosphere(subdivisions=sphere_subdivisions)
    cylinder = trimesh.creation.cylinder(radius=0.6, height=2.0, sections=cylinder_sections)
    torus = trimesh.creation.torus(
        major_radius=1.0, minor_radius=0.3, major_sections=torus_sections[0], minor_sections=torus_sections[1]
    )
    return {name: imported(t, name) for name, t in (("sphere", sphere), ("cylinder", cylinder), ("torus", torus))}


@pytest.fixture(scope="module")
def large():
    """A few thousand triangles each (fewer under the sanitizers)."""
    return make_shapes(2, 48, (24, 12)) if SLOW else make_shapes(4, 700, (48, 32))


@pytest.fixture(scope="module")
def small():
    """Small enough for the BSP engine, which grows fast on curved meshes."""
    return make_shapes(1, 12, (8, 6)) if SLOW else make_shapes(2, 32, (16, 8))


def test_imports_are_exact_and_watertight(large):
    if not SLOW:
        assert all(s.polygon_count >= 2000 for s in large.values())
    for s in large.values():
        check_mesh(s)
        assert cv.from_mesh(s.mesh()).volume == s.volume


def pairs(shapes, degenerate=True):
    """Operand pairs; the degenerate ones (coplanar, touching, identical) only when asked."""
    sphere, cylinder, torus = shapes["sphere"], shapes["cylinder"], shapes["torus"]
    found = {
        "spheres overlapping": (sphere, sphere.translate("1/3", "1/5", "1/7")),
        "cylinder through torus": (torus, cylinder.rotate_quarter("x")),
        "sphere and cylinder": (sphere, cylinder.translate("1/2", 0, 0)),
    }
    if degenerate:
        found["coplanar sides and caps"] = (cylinder, cylinder.translate(0, 0, "1/2"))  # sides coincide
        found["touching caps"] = (cylinder, cylinder.translate(0, 0, 2))
        found["identical"] = (torus, torus)
    return found


def local_engine(a, op, b):
    return getattr(a, op)(b, engine="local")


@pytest.mark.parametrize("op", ["union", "cut", "intersect"])
def test_local_booleans_of_large_imports_are_watertight(large, op):
    # The degenerate pairs run at the small size below: the localized engine
    # takes minutes on caps of many coplanar triangles that touch.
    for name, (a, b) in pairs(large, degenerate=False).items():
        result = local_engine(a, op, b)
        if result.polygon_count:
            check_mesh(result)
        else:
            assert result.volume == 0, name


@pytest.mark.parametrize("op", ["union", "cut", "intersect"])
def test_booleans_of_imports_agree_between_engines(small, op):
    for name, (a, b) in pairs(small).items():
        bsp = getattr(a, op)(b, engine="bsp")
        local = local_engine(a, op, b)
        assert local.volume == bsp.volume, name
        if bsp.polygon_count == 0:
            assert local.polygon_count == 0, name
            continue
        meshes = [check_mesh(s) for s in (bsp, local)]
        assert local.face_count == bsp.face_count, name
        assert cv.from_mesh(meshes[0]).face_count == cv.from_mesh(meshes[1]).face_count, name
