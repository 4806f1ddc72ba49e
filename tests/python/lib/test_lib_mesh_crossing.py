"""from_mesh() refuses a mesh that passes through itself or whose shells nest
the wrong way, naming the faces or shells; with resolve=True it takes the
solid the mesh encloses instead. Touching parts and the meshes of solids
pass as they are."""

import inspect

import numpy as np
import pytest

import corvanthium as cv

trimesh = pytest.importorskip("trimesh")

resolving = pytest.mark.skipif(
    "resolve" not in inspect.signature(cv.from_mesh).parameters, reason="from_mesh has no resolve flag"
)


def joined(*solids, inward=()):
    """One mesh of the solids' meshes, those listed in inward turned inside out."""
    points, faces = [], []
    for i, s in enumerate(solids):
        m = s.mesh()
        tris = m.faces[:, ::-1] if i in inward else m.faces
        faces.append(tris + sum(len(p) for p in points))
        points.append(m.vertices)
    return np.concatenate(points), np.concatenate(faces)


def box(x, y, z, side):
    return cv.box(side, side, side).translate(x, y, z)


def test_crossings_are_refused_naming_both_faces():
    with pytest.raises(cv.KernelError, match=r"face \d+ \(.*\) and face \d+ \(.*\) cross each other.*resolve=True"):
        cv.from_mesh(*joined(box(0, 0, 0, 2), box(1, 1, 1, 2)))
    with pytest.raises(cv.KernelError, match="overlap in one plane"):
        cv.from_mesh(*joined(box(0, 0, 0, 1), box(1, 0, 0, 1)))
    sphere = trimesh.creation.icosphere(subdivisions=2)
    pushed = sphere.vertices.copy()
    pushed[5] *= -1.25
    with pytest.raises(cv.KernelError, match="passes through itself"):
        cv.from_mesh(pushed, sphere.faces)


@pytest.mark.parametrize("seed", range(8))
def test_a_vertex_pushed_through_the_far_side_is_caught(seed):
    rng = np.random.default_rng(seed)
    mesh = cv.hull([tuple(int(x) for x in p) for p in rng.integers(-100, 100, size=(40, 3))]).mesh()
    points = np.array(mesh.vertices, dtype=np.int64)
    k = rng.integers(len(points))
    points[k] = 4 * points.mean(axis=0).round() - 3 * points[k]
    with pytest.raises(cv.KernelError, match="passes through itself"):
        cv.from_mesh(points, mesh.faces)


def test_touching_parts_and_meshes_of_solids_pass():
    assert cv.from_mesh(*joined(box(0, 0, 0, 1), box(1, 1, 0, 1), box(2, 2, 1, 1))).volume == 3
    for t in (trimesh.creation.box(), trimesh.creation.icosphere(3), trimesh.creation.cylinder(1, 2, sections=64),
              trimesh.creation.torus(1, 0.3), trimesh.creation.capsule()):  # fmt: skip
        assert cv.from_mesh(t.vertices, t.faces).volume > 0
    plate = cv.box(6, 6, 1) - cv.box(1, 1, 3).translate(1, 1, -1) - cv.box(1, 1, 3).translate(2, 2, -1)
    for s in (plate, box(0, 0, 0, 2) | box(2, 2, 0, 1), cv.box(2, 2, 2).chamfer("1/4")):
        assert cv.from_mesh(s.mesh()).volume == s.volume


def test_shells_must_nest_as_a_solids_do():
    assert cv.from_mesh(*joined(box(0, 0, 0, 4), box(1, 1, 1, 2), inward=(1,))).volume == 56
    with pytest.raises(cv.KernelError, match=r"the shell of face 12, facing outward, lies inside the shell of face 0"):
        cv.from_mesh(*joined(box(0, 0, 0, 4), box(1, 1, 1, 2)))


@resolving
def test_resolve_takes_the_solid_the_mesh_encloses(tmp_path):
    a, b = box(0, 0, 0, 2), box(1, 1, 1, 2)
    both = cv.from_mesh(*joined(a, b), resolve=True)
    assert both.volume == 15 and both.same_shape(a | b) and both.is_watertight
    assert cv.from_mesh(both.mesh()).same_shape(both)
    assert cv.from_mesh(*joined(box(0, 0, 0, 4), box(1, 1, 1, 2)), resolve=True).same_shape(box(0, 0, 0, 4))
    t, s = trimesh.creation.torus(1, 0.3), trimesh.creation.icosphere(2)
    torus, ball = cv.from_mesh(t.vertices, t.faces), cv.from_mesh(s.vertices * 0.5 + [1, 0, 0], s.faces)
    assert cv.from_mesh(*joined(torus, ball), resolve=True).same_shape(torus | ball)
    valid = cv.from_mesh(*joined(a, box(3, 0, 0, 1)), resolve=True)
    assert valid.same_shape(cv.from_mesh(*joined(a, box(3, 0, 0, 1))))
    path = tmp_path / "two.ply"
    trimesh.Trimesh(*joined(a, b), process=False).export(path)
    assert cv.load_mesh(path, resolve=True).volume == 15
    with pytest.raises(cv.KernelError, match="hole"):
        v, f = joined(a)
        cv.from_mesh(v, f[1:], resolve=True)
