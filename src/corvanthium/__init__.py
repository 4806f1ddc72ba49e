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

Booleans run on ``DEFAULT_ENGINE`` (``"local"``, the localized engine) unless
``engine="bsp"`` asks for the BSP engine, whose polygons are face for face
those of ``corvanthium_rs`` (except that an empty operand is the empty set,
where ``corvanthium_rs`` reads it as all of space); both engines give the
same point sets (``same_shape``).
``union_all`` and ``Solid.cut_all`` take many operands in one pass.

Solids pickle by their exact polygon list (nothing is recomputed on load);
``Solid.save(path)`` and ``load(path)`` use the same checked form, and
corrupt bytes raise ``KernelError``. As with every pickle, unpickling data
from an untrusted source is unsafe: it may call any importable function.

Solids become meshes and back exactly: ``Solid.mesh()`` gives a ``Mesh``
(float arrays and the exact vertices), ``from_mesh`` makes a ``Solid`` of a
triangle mesh (floats are taken as the binary fractions they store). Files
(``Solid.export``, ``load_mesh``) need trimesh (``pip install
corvanthium[mesh]``), pictures (``Solid.render``) matplotlib (``[plot]``);
``Solid.show`` writes an HTML viewer with nothing to install.

Long calls (Booleans, chamfers, transforms, NURBS, the patch screen) release
the interpreter lock, so threads building different parts run in parallel.
Ctrl-C stops a long call (it raises KeyboardInterrupt); a call that goes over
the memory budget (``set_memory_limit``) raises MemoryError; long calls report
their progress to the callback given to ``set_progress`` (a tqdm bar in a
terminal by default, with the ``progress`` extra).
"""

from corvanthium._builders import box, hull, prism, prismatoid
from corvanthium._circles import circle
from corvanthium._edges import Edge
from corvanthium._mesh import Mesh
from corvanthium._mesh_input import from_mesh, load_mesh
from corvanthium._native import (
    DEFAULT_ENGINE,
    KernelError,
    nurbs_curve_point,
    nurbs_surface_point,
    set_memory_limit,
    set_progress,
    ssi_pairs,
)
from corvanthium._patterns import grid_pattern, polar_pattern
from corvanthium._progress import default_callback as _default_progress
from corvanthium._rotation import rotation
from corvanthium._section import Section, section, split
from corvanthium._shapes import cone, cylinder, sphere, torus
from corvanthium._sketch import Sketch
from corvanthium._solid import Solid, load, load_step, union_all
from corvanthium._version import __version__ as __version__

__all__ = [
    "DEFAULT_ENGINE",
    "Edge",
    "KernelError",
    "Mesh",
    "Section",
    "Sketch",
    "Solid",
    "box",
    "circle",
    "cone",
    "cylinder",
    "from_mesh",
    "grid_pattern",
    "hull",
    "load",
    "load_mesh",
    "load_step",
    "nurbs_curve_point",
    "nurbs_surface_point",
    "polar_pattern",
    "prism",
    "prismatoid",
    "rotation",
    "set_memory_limit",
    "section",
    "set_progress",
    "sphere",
    "split",
    "ssi_pairs",
    "torus",
    "union_all",
]

# A progress bar for long calls in a terminal, when tqdm is installed.
if (_bar := _default_progress()) is not None:
    set_progress(_bar)
del _bar
