"""Exact solid modelling for Python.

Every coordinate is an exact rational number and no decision is made by a
tolerance. Numbers go in as ``int`` (or anything with ``__index__``),
``Fraction``, finite ``Decimal`` or exact text (``"1/3"``, ``"0.25"``,
``"1e3"``); ``float`` and ``bool`` are refused with a ``TypeError``. Exact
results come back as ``Fraction``. Every failure the kernel reports is a
``KernelError`` (a ``ValueError``).

    >>> import corvanthium as cv
    >>> a = cv.box(2, 2, 2)
    >>> b = cv.box(2, 2, 2).translate(1, 1, 1)
    >>> (a - b).volume
    Fraction(7, 1)

Solids become meshes and back exactly: ``Solid.mesh()`` gives a ``Mesh``
(float arrays and the exact vertices), ``from_mesh`` makes a ``Solid`` of a
triangle mesh (floats are taken as the binary fractions they store). Files
(``Solid.export``, ``load_mesh``) need trimesh (``pip install
corvanthium[mesh]``), pictures (``Solid.render``) matplotlib (``[plot]``);
``Solid.show`` writes an HTML viewer with nothing to install.

Long calls (Booleans, chamfers, transforms, NURBS, the patch screen) release
the interpreter lock, so threads building different parts run in parallel.
"""

from corvanthium._files import load_mesh
from corvanthium._mesh import Mesh, from_mesh
from corvanthium._native import (
    DEFAULT_ENGINE,
    KernelError,
    Solid,
    box,
    nurbs_curve_point,
    nurbs_surface_point,
    prism,
    prismatoid,
    ssi_pairs,
)

__all__ = [
    "DEFAULT_ENGINE",
    "KernelError",
    "Mesh",
    "Solid",
    "box",
    "from_mesh",
    "load_mesh",
    "nurbs_curve_point",
    "nurbs_surface_point",
    "prism",
    "prismatoid",
    "ssi_pairs",
]
