"""Mesh files through trimesh: writing a ``Mesh`` and reading a file's triangles."""

from __future__ import annotations

import errno
import os
from pathlib import Path
from typing import Any

import numpy as np
import numpy.typing as npt

from corvanthium._mesh import Mesh
from corvanthium._native import KernelError
from corvanthium._optional import optional_module

FORMATS = (".stl", ".obj", ".ply", ".glb", ".3mf")


def export_mesh(mesh: Mesh, path: str | os.PathLike[str]) -> None:
    """Writes mesh to path in the format its suffix names (one of FORMATS)."""
    suffix = Path(path).suffix.lower()
    if suffix not in FORMATS:
        every = (*FORMATS, ".step", ".stp", ".brep")  # the last three through OCCT (see _step)
        raise ValueError(f"cannot export to '{suffix or path}': the formats are {', '.join(every)}")
    trimesh = optional_module("trimesh", "mesh")
    body = trimesh.Trimesh(vertices=mesh.vertices, faces=mesh.faces, process=False, validate=False)
    body.export(os.fspath(path), file_type=suffix[1:])


def _bodies(loaded: Any, trimesh: Any) -> list[Any]:
    """The triangle meshes of what trimesh loaded, placed where a scene puts them."""
    if isinstance(loaded, trimesh.Scene):
        return [g for g in loaded.dump() if isinstance(g, trimesh.Trimesh)]
    if isinstance(loaded, trimesh.Trimesh):
        return [loaded]
    return []


def _merge_soup(
    vertices: npt.NDArray[np.float64], faces: npt.NDArray[np.int64]
) -> tuple[npt.NDArray[np.float64], npt.NDArray[np.int64]]:
    """Points of exactly equal coordinates made one, where no triangle shares a point with another
    (formats such as STL store every triangle's corners apart); nothing is rounded."""
    if len(faces) == 0 or len(np.unique(faces)) < faces.size:
        return vertices, faces
    unique, inverse = np.unique(vertices, axis=0, return_inverse=True)
    return unique, inverse.reshape(-1)[faces]


def read_mesh_file(path: str | os.PathLike[str]) -> tuple[npt.NDArray[np.float64], npt.NDArray[np.int64]]:
    """The vertices and faces of every body of a mesh file that trimesh reads, each where
    the file's scene places it; corners of exactly equal coordinates joined where the file
    stores each triangle's corners apart (STL). Nothing is rounded. Raises
    ``FileNotFoundError`` when there is no such file, ``KernelError`` naming the file when
    trimesh cannot read it (its error chained) or it holds no triangles, ``ImportError``
    without trimesh."""
    trimesh = optional_module("trimesh", "mesh")
    name = os.fspath(path)
    if not os.path.exists(name):
        raise FileNotFoundError(errno.ENOENT, "no such mesh file", name)
    if not os.path.isfile(name):
        raise KernelError(f"{name}: not a file")
    vertex_parts: list[npt.NDArray[np.float64]] = []
    face_parts: list[npt.NDArray[np.int64]] = []
    try:
        offset = 0
        for body in _bodies(trimesh.load(name, process=False), trimesh):
            vertices = np.asarray(body.vertices, dtype=np.float64)
            faces = np.asarray(body.faces, dtype=np.int64)
            vertex_parts.append(vertices)
            face_parts.append(faces + offset)
            offset += len(vertices)
    except (ImportError, MemoryError):
        raise
    except Exception as e:
        raise KernelError(f"{name}: the file could not be read as a mesh ({type(e).__name__}: {e})") from e
    if not face_parts or sum(len(f) for f in face_parts) == 0:
        raise KernelError(f"{name}: no triangles to read")
    return _merge_soup(np.concatenate(vertex_parts), np.concatenate(face_parts))
