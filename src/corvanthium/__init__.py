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

Long calls (Booleans, chamfers, transforms, NURBS, the patch screen) release
the interpreter lock, so threads building different parts run in parallel.
Ctrl-C stops a long call (it raises KeyboardInterrupt); a call that goes over
the memory budget (``set_memory_limit``) raises MemoryError; long calls report
their progress to the callback given to ``set_progress`` (a tqdm bar in a
terminal by default, with the ``progress`` extra).
"""

from corvanthium._native import (
    DEFAULT_ENGINE,
    KernelError,
    Solid,
    box,
    nurbs_curve_point,
    nurbs_surface_point,
    prism,
    prismatoid,
    set_memory_limit,
    set_progress,
    ssi_pairs,
)
from corvanthium._progress import default_callback as _default_progress

__all__ = [
    "DEFAULT_ENGINE",
    "KernelError",
    "Solid",
    "box",
    "nurbs_curve_point",
    "nurbs_surface_point",
    "prism",
    "prismatoid",
    "set_memory_limit",
    "set_progress",
    "ssi_pairs",
]

# A progress bar for long calls in a terminal, when tqdm is installed.
if (_bar := _default_progress()) is not None:
    set_progress(_bar)
del _bar
