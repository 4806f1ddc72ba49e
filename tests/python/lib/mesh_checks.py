"""Checks of a corvanthium.Mesh that do not trust the kernel: exact six-fold
volume from the exact vertices, directed edge pairing, and, where installed,
trimesh's and manifold3d's verdicts."""

from collections import Counter
from fractions import Fraction

import numpy as np


def six_volume(points, faces):
    """The exact six-fold signed volume of triangles over exact points."""
    total = Fraction(0)
    for a, b, c in faces:
        (ax, ay, az), (bx, by, bz), (cx, cy, cz) = points[a], points[b], points[c]
        total += ax * (by * cz - bz * cy) - ay * (bx * cz - bz * cx) + az * (bx * cy - by * cx)
    return total


def edges_pair_up(faces):
    """Every directed edge once, and its reverse once."""
    directed = Counter()
    for a, b, c in faces:
        for e in ((a, b), (b, c), (c, a)):
            directed[e] += 1
    return all(n == 1 and directed[(e[1], e[0])] == 1 for e, n in directed.items())


def trimesh_verdict(mesh):
    """(watertight, volume) as trimesh sees the float mesh; None without trimesh."""
    try:
        import trimesh
    except ImportError:
        return None
    t = trimesh.Trimesh(vertices=mesh.vertices, faces=mesh.faces, process=False)
    return t.is_watertight, t.volume


def manifold_accepts(mesh):
    """Whether manifold3d builds a manifold of the mesh; None without manifold3d."""
    try:
        import manifold3d
    except ImportError:
        return None
    m = manifold3d.Mesh(
        vert_properties=np.asarray(mesh.vertices, dtype=np.float32),
        tri_verts=np.asarray(mesh.faces, dtype=np.uint32),
    )
    return manifold3d.Manifold(m).status() == manifold3d.Error.NoError


def check_mesh(solid, mesh=None):
    """Asserts everything a mesh of solid promises; returns the mesh."""
    mesh = mesh if mesh is not None else solid.mesh()
    faces = [tuple(int(i) for i in f) for f in mesh.faces]
    assert six_volume(mesh.exact_vertices, faces) == solid.volume * 6
    assert edges_pair_up(faces)
    assert len(mesh.labels) == len(faces) and mesh.vertices.shape == (len(mesh.exact_vertices), 3)
    assert np.array_equal(mesh.vertices, np.array([[float(c) for c in p] for p in mesh.exact_vertices]).reshape(-1, 3))
    verdict = trimesh_verdict(mesh)
    if verdict is not None:
        watertight, volume = verdict
        assert watertight and (volume > 0) == (solid.volume > 0)  # a program may turn a solid inside out
    assert manifold_accepts(mesh) in (None, True)
    return mesh
