"""Solids from triangle meshes, nothing rounded: ``from_mesh`` and ``load_mesh``."""

from __future__ import annotations

import os
from collections.abc import Sequence
from fractions import Fraction
from pathlib import Path
from typing import Any

import numpy as np
import numpy.typing as npt

from corvanthium._files import read_mesh_file
from corvanthium._mesh import Mesh
from corvanthium._native import KernelError, _from_exact_mesh, _from_float_mesh
from corvanthium._solid import Solid, _wrap

# Integers up to this size are exact as float64.
_EXACT_FLOAT_INT = 2**53


def _index_array(faces: Any) -> npt.NDArray[np.int64]:
    try:
        array = np.asarray(faces)
    except ValueError as e:  # rows of different lengths
        raise KernelError(f"faces: expected rows of three vertex indices each ({e})") from e
    if array.size == 0:
        array = array.reshape(0, 3).astype(np.int64)
    if array.dtype.kind not in "iu":
        raise TypeError(f"faces: expected integer vertex indices, got an array of {array.dtype}")
    if array.ndim != 2 or array.shape[1] != 3:
        raise KernelError(f"faces: expected an array of shape (m, 3), got shape {array.shape}")
    if array.dtype.kind == "u" and array.size and int(array.max()) >= 2**63:
        raise KernelError("faces: a vertex index is too large")
    return np.ascontiguousarray(array, dtype=np.int64)


def _exact_rows(vertices: Any) -> list[list[Any]]:
    """Rows of exact numbers; a float becomes the Fraction it stores exactly."""
    return [[Fraction(x) if isinstance(x, float) else x for x in row] for row in vertices]


def from_mesh(vertices: Mesh | Any, faces: Any = None, *, label: str = "mesh", resolve: bool = False) -> Solid:
    """A ``Solid`` from a triangle mesh; nothing is rounded.

    ``vertices`` is an (n, 3) array or sequence of coordinates and ``faces``
    an (m, 3) array of vertex indices, or ``vertices`` is a ``Mesh`` (and
    ``faces`` is omitted): then its exact vertices are used, so
    ``from_mesh(s.mesh())`` has exactly the faces of ``s``. Coordinates may
    be floats (a float is a binary fraction and is taken exactly as that),
    ints, ``Fraction``, ``Decimal`` or exact text. Every triangle becomes a
    polygon labelled ``label``; a mesh facing inward (negative volume) is
    turned outward as a whole.

    The mesh must bound a solid: its triangles may meet only where the mesh
    joins them (a shared corner or edge) or touch along a side or at a corner
    without passing through each other, and its shells (triangles joined
    across edges) must nest as a solid's do, a cavity being a shell facing
    inward inside one facing outward. With ``resolve=True`` a mesh that
    passes through itself (two overlapping parts in one mesh, a vertex
    pushed through a face) or whose shells nest otherwise is taken for the
    exact solid it encloses: the points of winding number at least one (two
    overlapping boxes give their union). A mesh that bounds a solid comes
    back the same either way; holes are not closed.

    Raises ``KernelError`` naming the first offending face for an index out
    of range or negative, a triangle of zero area, an edge not shared by
    exactly two triangles running opposite ways (a hole; edges are told apart
    by vertex index), two faces that cross (both named, with their corners)
    or shells nested the wrong way; for a coordinate that is not finite,
    rows of faces of other lengths, a label that is not valid text and a
    ``Mesh`` whose exact vertices cannot be read; ``TypeError`` for faces
    that are not integers, a coordinate of another type, a label that is not
    a str or a resolve that is not a bool.
    """
    _check_label(label)
    if isinstance(vertices, Mesh):
        if faces is not None:
            raise TypeError("from_mesh(mesh) takes no faces: they come with the Mesh")
        try:
            exact = vertices.exact_vertices
        except (ZeroDivisionError, IndexError) as e:
            raise KernelError(
                f"vertices: the Mesh's exact vertices are not readable ({e}); make Meshes with Solid.mesh()"
            ) from e
        return _wrap(_from_exact_mesh(exact, vertices.faces, label=label, resolve=resolve))
    if faces is None:
        raise TypeError("from_mesh() needs faces unless vertices is a Mesh")
    face_array = _index_array(faces)
    array = None
    if isinstance(vertices, memoryview) or not isinstance(vertices, Sequence) or _plain(vertices):
        try:
            array = np.asarray(vertices)
        except ValueError:  # ragged rows: read row by row, which names the bad one
            array = None
    if array is not None and array.dtype.kind in "fiu" and array.dtype != np.bool_:
        if array.size == 0:
            array = array.reshape(0, 3)
        if array.ndim != 2 or array.shape[1] != 3:
            raise KernelError(f"vertices: expected an array of shape (n, 3), got shape {array.shape}")
        if array.dtype.kind == "f" or np.abs(array).max(initial=0) <= _EXACT_FLOAT_INT:
            return _wrap(
                _from_float_mesh(
                    np.ascontiguousarray(array, dtype=np.float64), face_array, label=label, resolve=resolve
                )
            )
        return _wrap(
            _from_exact_mesh(
                [[int(x) for x in row] for row in array.tolist()], face_array, label=label, resolve=resolve
            )
        )
    return _wrap(_from_exact_mesh(_exact_rows(vertices), face_array, label=label, resolve=resolve))


def _check_label(label: Any) -> None:
    if not isinstance(label, str):
        raise TypeError(f"argument 'label': expected a str, got {type(label).__name__}")
    try:
        label.encode("utf-8")
    except UnicodeEncodeError as e:
        raise KernelError(f"argument 'label': {e.reason} (character {e.start}); pass text without them") from e


def _plain(rows: Sequence[Any]) -> bool:
    """Whether a sequence holds only floats and ints (numpy may read it as one numeric array)."""
    return all(
        isinstance(x, (int, float)) and not isinstance(x, bool)
        for row in rows
        for x in (row if isinstance(row, Sequence) else (row,))
    )


def load_mesh(path: str | os.PathLike[str], *, label: str | None = None, resolve: bool = False) -> Solid:
    """A ``Solid`` from a mesh file that trimesh reads (STL, OBJ, PLY, GLB, 3MF, ...).

    The bodies of a scene are taken together, each where the scene places
    it. The file's float coordinates are taken exactly; in a file that
    stores each triangle's corners apart (STL), corners of exactly equal
    coordinates are joined. The polygons are labelled ``label`` (default:
    the file's name without suffix); ``resolve`` is as for ``from_mesh``.
    Raises ``FileNotFoundError`` when there is no such file; ``KernelError``
    naming the file when trimesh cannot read it (its error chained), when it
    holds no triangles, or as ``from_mesh`` does; ``ImportError`` without
    trimesh.
    """
    vertices, faces = read_mesh_file(path)
    try:
        return from_mesh(vertices, faces, label=label if label is not None else Path(path).stem, resolve=resolve)
    except KernelError as e:
        raise KernelError(f"{os.fspath(path)}: {e}") from e
