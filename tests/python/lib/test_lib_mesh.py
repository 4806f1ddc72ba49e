"""Solid.mesh() and from_mesh(): exact meshes out of solids and solids out of
triangle meshes, on fixed parts and on the random programs."""

import dataclasses
import math
import os
import sys
from decimal import Decimal
from fractions import Fraction
from pathlib import Path

import numpy as np
import pytest
from mesh_checks import check_mesh, six_volume

import corvanthium as cv
import lib_programs as lp

sys.path.insert(0, str(Path(__file__).resolve().parents[3] / "bench"))
from plates import plate  # noqa: E402

from workloads import comb  # noqa: E402

SEEDS = range(60)


def cube_mesh():
    points = [(0, 0, 0), (1, 0, 0), (1, 1, 0), (0, 1, 0), (0, 0, 1), (1, 0, 1), (1, 1, 1), (0, 1, 1)]
    faces = [
        (0, 2, 1), (0, 3, 2), (4, 5, 6), (4, 6, 7), (0, 1, 5), (0, 5, 4),
        (1, 2, 6), (1, 6, 5), (2, 3, 7), (2, 7, 6), (3, 0, 4), (3, 4, 7),
    ]  # fmt: skip
    return points, faces


def test_a_box_with_a_hole_meshes_exactly_with_labels():
    part = cv.box(3, 3, 1, label="plate") - cv.box(1, 1, 3, label="hole").translate(1, 1, -1)
    mesh = check_mesh(part)
    assert set(mesh.labels) == {"plate.bottom", "plate.top", "plate.front", "plate.back", "plate.left",
                                "plate.right", "hole.front", "hole.back", "hole.left", "hole.right"}  # fmt: skip
    assert all(type(c) is Fraction for p in mesh.exact_vertices for c in p)
    assert mesh.vertices.dtype == np.float64 and mesh.faces.dtype == np.int64 and mesh.faces.shape[1] == 3
    with pytest.raises(dataclasses.FrozenInstanceError):
        mesh.labels = ()
    with pytest.raises(ValueError):
        mesh.vertices[0, 0] = 5.0
    assert "vertices" in repr(mesh) and "triangles" in repr(mesh)


def test_thirds_come_out_exact_and_rounded_correctly():
    s = cv.box("1/3", "2/7", "5/11").translate("1/10", 0, 0)
    mesh = check_mesh(s)
    assert Fraction(13, 30) in {p[0] for p in mesh.exact_vertices}
    assert 13 / 30 in set(mesh.vertices[:, 0])


def sound(program):
    """Whether every prismatoid of the program has a proper top: the generator's
    top square shrinks by k from each side, so k = 1/2 collapses it to a point
    and k = 3/4 turns it over, giving side faces that cross."""
    for step in program:
        if step[:2] == ("push", "prismatoid"):
            bottom, top = step[2], step[4]
            if top[0][0] >= bottom[1][0] / 2:
                return False
    return True


@pytest.mark.parametrize("engine", ["bsp", "local"])
def test_every_random_program_meshes_watertight_with_its_exact_volume(engine):
    meshed = 0
    for seed in SEEDS:
        program = lp.program(seed)
        try:
            s = lp.build_lib(program, engine)
        except cv.KernelError:
            continue
        if s.polygon_count == 0:
            with pytest.raises(cv.KernelError):
                s.mesh()
            continue
        if not sound(program):  # crossing faces: a mesh, if there is one, still checks out
            try:
                s.mesh()
            except cv.KernelError:
                continue
        mesh = check_mesh(s)
        back = cv.from_mesh(mesh)  # an inside-out solid (a negative scale) comes back turned outward
        assert back.volume == abs(s.volume) and back.face_count == s.face_count and back.bbox == s.bbox
        meshed += 1
    assert meshed > len(SEEDS) // 2


def test_an_empty_solid_raises_kernel_error_not_a_crash():
    empty = cv.box(1, 1, 1) - cv.box(2, 2, 2).translate(-1, -1, -1)
    assert empty.polygon_count == 0
    with pytest.raises(cv.KernelError):
        empty.mesh()
    assert empty._repr_png_() is None


def test_round_trip_keeps_the_solid():
    part = (cv.box(4, 4, 1) | cv.box(2, 2, 2).translate(1, 1, 0)).chamfer("1/10")
    back = cv.from_mesh(part.mesh(), label="back")
    assert back.volume == part.volume and back.face_count == part.face_count and back.bbox == part.bbox
    again = back.mesh()
    assert set(again.labels) == {"back"}
    assert sorted(again.exact_vertices) == sorted(part.mesh().exact_vertices)
    if hasattr(part, "same_shape"):
        assert back.same_shape(part)


def test_from_mesh_takes_every_number_kind_exactly():
    points, faces = cube_mesh()
    for kind in (float, int, Fraction, Decimal, str):
        s = cv.from_mesh([[kind(c) for c in p] for p in points], faces)
        assert s.volume == 1 and s.polygon_count == 12
    arrays = [np.array(points, dtype=t) for t in (np.float64, np.float32, np.int32, np.int64, np.uint8)]
    for a in arrays:
        assert cv.from_mesh(a, np.array(faces, dtype=np.int32)).volume == 1
    tenth = cv.from_mesh(np.array(points) * 0.1, faces)
    assert tenth.volume == Fraction(0.1) ** 3  # the double nearest 1/10, cubed, nothing rounded
    huge = [[c * 2**60 + 1 for c in p] for p in points]
    assert cv.from_mesh(np.array(huge, dtype=np.int64), faces).volume == 2**180
    assert cv.from_mesh(points, faces, label="cube").mesh().labels[0] == "cube"


def test_an_inward_mesh_is_turned_outward():
    points, faces = cube_mesh()
    inward = [(a, c, b) for a, b, c in faces]
    s = cv.from_mesh(points, inward)
    assert s.volume == 1
    assert six_volume([tuple(map(Fraction, p)) for p in points], inward) == -6


@pytest.mark.parametrize(
    ("change", "error", "words"),
    [
        (lambda p, f: (p, f[:-1]), cv.KernelError, "face"),  # an open edge
        (lambda p, f: (p, [*f[:-1], (3, 4, 12)]), cv.KernelError, "face 11"),  # index past the end
        (lambda p, f: (p, [(0, 2, -1), *f[1:]]), cv.KernelError, "face 0"),  # negative index
        (lambda p, f: (p, [*f[:5], (0, 0, 1), *f[6:]]), cv.KernelError, "face 5"),  # zero area
        (lambda p, f: (p, [*f, (0, 1, 2)]), cv.KernelError, "face"),  # an edge used three times
        (lambda p, f: ([*p[:-1], (0, 1, math.nan)], f), cv.KernelError, "vertex 7"),
        (lambda p, f: ([*p[:-1], (0, 1)], f), cv.KernelError, "vertex 7"),
        (lambda p, f: (p, np.array(f, dtype=float)), TypeError, "integer"),
        (lambda p, f: (p, np.array(f)[:, :2]), cv.KernelError, "shape"),
        (lambda p, f: ([*p[:-1], (0, 1, True)], f), TypeError, "bool"),
        (lambda p, f: ([*p[:-1], (0, 1, object())], f), TypeError, "exact"),
    ],
)
def test_bad_meshes_name_the_first_offending_face(change, error, words):
    points, faces = change(*cube_mesh())
    with pytest.raises(error, match=words):
        cv.from_mesh(points, faces)


def test_from_mesh_refuses_a_missing_or_an_extra_faces_argument():
    points, faces = cube_mesh()
    with pytest.raises(TypeError, match="needs faces"):
        cv.from_mesh(points)
    with pytest.raises(TypeError, match="takes no faces"):
        cv.from_mesh(cv.box(1, 1, 1).mesh(), faces)


def drilled_plate(k, engine):
    return plate(k, engine=engine)


def bench_solids():
    """The solids of the benchmark workloads, made with the package."""
    a, b = cv.box(2, 2, 2), cv.box(2, 2, 2).translate(1, 1, 1)
    boxes = cv.box(1, 1, 1, label="b0")
    for i in range(1, 12):
        boxes = boxes | cv.box(1, 1, 1, label=f"b{i}").translate(Fraction(i, 3), Fraction(i, 5), Fraction(i, 7))
    square = [(0, 0), (1, 0), (1, 1), (0, 1)]
    ell = cv.prism([(0, 0), (2, 0), (2, 1), (1, 1), (1, 2), (0, 2)], 1, label="l")
    return {
        "box cut": a - b,
        "plate 3x3 (bsp)": drilled_plate(3, "bsp"),
        "plate 3x3 (local)": drilled_plate(3, "local"),
        "12 boxes": boxes,
        "convex prism": cv.prism([(i, i * i) for i in range(2000)], 1),
        "comb prism": cv.prism(comb(500), 1),
        "prismatoid": cv.prismatoid(square, 0, square, 1),
        "chamfered boxes": cv.box(3, 2, 1).chamfer("1/10") | cv.box(10, 1, 1).chamfer("1/10").translate(0, 3, 0),
        "chamfered L": ell.chamfer("1/10"),
    }


def test_the_bench_workloads_mesh_watertight_with_their_exact_volume():
    for name, solid in bench_solids().items():
        mesh = check_mesh(solid)
        assert len(mesh.faces) <= 2 * solid.polygon_count + 4 * len(mesh.exact_vertices), name


@pytest.mark.skipif("asan" in os.environ.get("LD_PRELOAD", ""), reason="minutes under the sanitizers")
def test_the_36_hole_plate_meshes_compactly():
    plate = drilled_plate(6, "bsp")
    assert plate.polygon_count == 18105
    mesh = check_mesh(plate)
    assert len(mesh.faces) <= 3621
    labels = set(mesh.labels)
    assert {"plate.top", "plate.bottom"} <= labels and all(n.startswith(("plate.", "hole")) for n in labels)
