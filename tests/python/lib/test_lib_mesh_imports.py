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


@pytest.fixture(scope="module")
def shapes():
    sphere = trimesh.creation.icosphere(subdivisions=2 if SLOW else 4)
    cylinder = trimesh.creation.cylinder(radius=0.6, height=2.0, sections=48 if SLOW else 700)
    torus = trimesh.creation.torus(major_radius=1.0, minor_radius=0.3, major_sections=24 if SLOW else 48,
                                   minor_sections=12 if SLOW else 32)  # fmt: skip
    return {name: imported(t, name) for name, t in (("sphere", sphere), ("cylinder", cylinder), ("torus", torus))}


def test_imports_are_exact_and_watertight(shapes):
    if not SLOW:
        assert all(s.polygon_count >= 2000 for s in shapes.values())
    for s in shapes.values():
        check_mesh(s)
        assert cv.from_mesh(s.mesh()).volume == s.volume


def pairs(shapes):
    sphere, cylinder, torus = shapes["sphere"], shapes["cylinder"], shapes["torus"]
    return {
        "spheres overlapping": (sphere, sphere.translate("1/3", "1/5", "1/7")),
        "cylinder through torus": (torus, cylinder.rotate_quarter("x")),
        "sphere and cylinder": (sphere, cylinder.translate("1/2", 0, 0)),
        "coplanar sides and caps": (cylinder, cylinder.translate(0, 0, "1/2")),  # sides coincide, caps coplanar
        "touching caps": (cylinder, cylinder.translate(0, 0, 2)),
        "identical": (torus, torus),
    }


@pytest.mark.parametrize("op", ["union", "cut", "intersect"])
def test_booleans_of_imports_agree_between_engines(shapes, op):
    for name, (a, b) in pairs(shapes).items():
        bsp = getattr(a, op)(b, engine="bsp")
        try:
            local = getattr(a, op)(b, engine="local")
        except NotImplementedError:
            pytest.skip("this build has no local engine")
        assert local.volume == bsp.volume, name
        if bsp.polygon_count == 0:
            assert local.polygon_count == 0, name
            continue
        meshes = [check_mesh(s) for s in (bsp, local)]
        assert local.face_count == bsp.face_count, name
        assert cv.from_mesh(meshes[0]).face_count == cv.from_mesh(meshes[1]).face_count, name
