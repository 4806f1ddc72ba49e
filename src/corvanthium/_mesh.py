"""The frozen ``Mesh`` that ``Solid.mesh()`` returns."""

from __future__ import annotations

from dataclasses import dataclass, field
from fractions import Fraction
from functools import cached_property

import numpy as np
import numpy.typing as npt

ExactPoint = tuple[Fraction, Fraction, Fraction]


@dataclass(frozen=True, eq=False)
class Mesh:
    """An exact, closed, consistently oriented triangle mesh of a solid.

    ``vertices`` are the corners rounded to float64 (shape (n, 3)),
    ``faces`` the triangles as vertex indices (int64, shape (m, 3)),
    counter-clockwise seen from outside; ``exact_vertices`` are the same
    corners as exact ``Fraction`` triples (made on first use), and
    ``labels`` the label of the face each triangle lies in. Every directed
    edge appears in exactly one triangle and its reverse in exactly one
    other; a corner where the solid touches itself appears once per sheet.
    The arrays are read-only.

    Made by ``Solid.mesh()``, which raises ``KernelError`` for an empty solid
    or one that is not closed.
    """

    vertices: npt.NDArray[np.float64]
    faces: npt.NDArray[np.int64]
    labels: tuple[str, ...]
    _exact_parts: tuple[int, ...] = field(repr=False)

    @cached_property
    def exact_vertices(self) -> tuple[ExactPoint, ...]:
        """The corners as exact (x, y, z) triples of Fractions."""
        parts = self._exact_parts
        values = [Fraction(parts[i], parts[i + 1]) for i in range(0, len(parts), 2)]
        return tuple((values[i], values[i + 1], values[i + 2]) for i in range(0, len(values), 3))

    def __repr__(self) -> str:
        return f"Mesh({len(self.vertices)} vertices, {len(self.labels)} triangles)"


def mesh_of_parts(parts: tuple[bytes, bytes, tuple[int, ...], tuple[str, ...]]) -> Mesh:
    """The Mesh of the native solid's mesh parts: float64 and int64 bytes, the exact
    coordinates as (numerator, denominator) ints, the labels."""
    vertex_bytes, face_bytes, exact, labels = parts
    vertices = np.frombuffer(vertex_bytes, dtype=np.float64).reshape(-1, 3)
    faces = np.frombuffer(face_bytes, dtype=np.int64).reshape(-1, 3)
    return Mesh(vertices, faces, labels, exact)
