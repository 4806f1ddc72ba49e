"""The package's ``Solid``: an immutable exact solid, a Python object holding
the native one (``_native.NativeSolid``) and its mesh once made."""

from __future__ import annotations

import os
from collections.abc import Callable, Iterable
from fractions import Fraction
from typing import Any, NoReturn, cast, final

from corvanthium import _native
from corvanthium._files import export_mesh
from corvanthium._mesh import Mesh, mesh_of_parts
from corvanthium._native import KernelError, NativeSolid
from corvanthium._picture import png_of_mesh, render_mesh
from corvanthium._types import Axis, Engine, Number, Point3
from corvanthium._viewer import show_mesh

_EXACT_NUMBERS = """
Numbers are exact: int, Fraction, finite Decimal or a text such as "1/3" or
"0.25". Raises TypeError for another type (a float or bool included) and
KernelError for a malformed text or a zero denominator."""


def _core(solid: Any) -> Any:
    """The native solid of a Solid; anything else passes on unchanged, so that
    the native part refuses it with the message naming the argument."""
    return solid._core if type(solid) is Solid else solid


class _Immutable(type):
    """The class of Solid: its attributes cannot be set or deleted once it is made, as a
    built-in type's cannot."""

    def __setattr__(cls, name: str, value: object) -> None:
        raise TypeError(f"cannot set {name!r} attribute of immutable type {cls.__name__!r}")

    def __delattr__(cls, name: str) -> None:
        raise TypeError(f"cannot delete {name!r} attribute of immutable type {cls.__name__!r}")


@final
class Solid(metaclass=_Immutable):
    """An exact solid: a list of planar polygons whose every coordinate is an exact rational.

    Solids are immutable; every operation returns a new one. Make them with
    box(), prism(), prismatoid(), from_mesh() or load(); combine them with |
    (union), - (cut) and & (intersect).
    """

    __module__ = "corvanthium"
    __slots__ = ("_core", "_mesh")
    _core: NativeSolid
    _mesh: Mesh | None

    def __new__(cls, *args: object, **kwargs: object) -> Solid:
        raise TypeError("Solid cannot be made directly: use corvanthium.box(), prism(), prismatoid() or load()")

    def __init_subclass__(cls, **kwargs: object) -> NoReturn:
        raise TypeError("Solid cannot be subclassed")

    # Moves and shapes

    def translate(self, x: Number, y: Number, z: Number) -> Solid:
        return _wrap(self._core.translate(x, y, z))

    translate.__doc__ = "The solid moved by (x, y, z), exactly." + _EXACT_NUMBERS

    def scale(self, fx: Number, fy: Number | None = None, fz: Number | None = None) -> Solid:
        return _wrap(self._core.scale(fx, fy, fz))

    scale.__doc__ = (
        "The solid scaled about the origin by one factor (uniform) or three, exactly; a negative\n"
        "product of factors turns every face round. A factor of 0 is a KernelError, passing two\n"
        "factors a TypeError." + _EXACT_NUMBERS
    )

    def mirror(self, axis: Axis) -> Solid:
        """The solid reflected in the plane where coordinate ``axis`` is zero (0, 1, 2 or
        'x', 'y', 'z'), exactly. Raises TypeError for an axis of another type, KernelError
        for another value."""
        return _wrap(self._core.mirror(axis))

    def rotate_quarter(self, axis: Axis, quarters: int = 1) -> Solid:
        """The solid turned by quarters * 90 degrees about the axis (0, 1, 2 or 'x', 'y',
        'z'), right-handed; exact, as every coordinate only moves or changes sign. Raises
        TypeError for a non-int quarters or axis type, KernelError for another axis value."""
        return _wrap(self._core.rotate_quarter(axis, quarters))

    def chamfer(self, dist: Number) -> Solid:
        return _wrap(self._core.chamfer(dist))

    chamfer.__doc__ = (
        "The solid with every edge between two faces bevelled by dist (positive) and the corners\n"
        "cut, exactly. Raises KernelError when a face at an edge has no rational unit normal (the\n"
        "cut could not be exact) or the solid is empty." + _EXACT_NUMBERS
    )

    # Booleans

    def union(self, other: Solid, *, engine: Engine | None = None) -> Solid:
        """The exact union of the two solids (also ``a | b``).

        engine is None (DEFAULT_ENGINE, now 'local'), 'bsp' or 'local'; another value
        raises ValueError. The engines give the same point set (see same_shape()); 'bsp'
        gives the very polygons corvanthium_rs gives (where no operand is empty: an empty
        solid is the empty set here, all of space there), and a chamfer equals
        corvanthium_rs's only on a solid made with 'bsp'. Raises TypeError when other is
        not a Solid, KernelError for a failure of the kernel.
        """
        return _wrap(self._core.union(_core(other), engine=engine))

    def cut(self, other: Solid, *, engine: Engine | None = None) -> Solid:
        """The exact difference self minus other (also ``a - b``). engine and errors as for union()."""
        return _wrap(self._core.cut(_core(other), engine=engine))

    def intersect(self, other: Solid, *, engine: Engine | None = None) -> Solid:
        """The exact intersection of the two solids (also ``a & b``). engine and errors as for union()."""
        return _wrap(self._core.intersect(_core(other), engine=engine))

    def cut_all(self, tools: Iterable[Solid], *, engine: Engine | None = None) -> Solid:
        """The solid minus every solid of tools (any iterable of Solids), exactly.

        The 'local' engine cuts them all in one pass (144 holes are not 144 passes);
        'bsp' cuts them one after another in order. engine and errors as for union().
        """
        return _wrap(self._core.cut_all(_cores(tools), engine=engine))

    def __or__(self, other: Solid) -> Solid:
        if type(other) is not Solid:
            return NotImplemented
        return _wrap(self._core.union(other._core))

    def __sub__(self, other: Solid) -> Solid:
        if type(other) is not Solid:
            return NotImplemented
        return _wrap(self._core.cut(other._core))

    def __and__(self, other: Solid) -> Solid:
        if type(other) is not Solid:
            return NotImplemented
        return _wrap(self._core.intersect(other._core))

    def same_shape(self, other: Solid) -> bool:
        """Whether the two solids are exactly the same point set (their oriented faces cover
        each plane alike), however their faces are divided into polygons: the way to compare
        results of different engines; it runs neither Boolean engine. Raises TypeError when
        other is not a Solid."""
        return self._core.same_shape(_core(other))

    # Measures

    @property
    def volume(self) -> Fraction:
        """The exact enclosed volume, a Fraction."""
        return self._core.volume

    @property
    def bbox(self) -> tuple[Point3, Point3]:
        """The exact bounding box ((xmin, ymin, zmin), (xmax, ymax, zmax)) of Fractions;
        KernelError for a solid without polygons."""
        return self._core.bbox

    @property
    def face_count(self) -> int:
        """The number of logical faces (distinct face planes), an int."""
        return self._core.face_count

    @property
    def polygon_count(self) -> int:
        """The number of polygons the solid is stored as, an int."""
        return self._core.polygon_count

    @property
    def is_watertight(self) -> bool:
        """Whether every polygon side is matched, stretch by stretch, by sides running the
        other way (exact)."""
        return self._core.is_watertight

    def canonical(self) -> str:
        """A text that is the same exactly when two solids hold the same faces (each face as
        its set of exact corner points); the same text as corvanthium_rs gives for the same
        solid."""
        return self._core.canonical()

    # Meshes, files and pictures

    def mesh(self) -> Mesh:
        """The solid's exact, closed, consistently oriented triangle mesh, a frozen Mesh.

        The faces are merged and triangulated without new points, every edge used once
        each way; it is made once and kept (a solid never changes). Raises KernelError for
        an empty solid or one that is not closed.
        """
        mesh = self._mesh
        if mesh is None:
            mesh = self._mesh = mesh_of_parts(self._core.mesh_parts())
        return mesh

    def export(self, path: str | os.PathLike[str]) -> None:
        """Writes the solid's mesh to path (str or PathLike) in the format its suffix names:
        .stl, .obj, .ply, .glb or .3mf (through trimesh, the 'mesh' extra). Coordinates are
        written as the files hold them, as floats. Raises KernelError as mesh() does,
        ValueError for another suffix, ImportError without trimesh."""
        export_mesh(self.mesh(), path)

    def render(self, path: str | os.PathLike[str]) -> None:
        """Writes a shaded PNG picture of the solid to path (through matplotlib, the 'plot'
        extra). Raises KernelError as mesh() does, ImportError without matplotlib."""
        render_mesh(self.mesh(), path)

    def show(self, path: str | os.PathLike[str]) -> str:
        """Writes one self-contained HTML file to path that shows the solid in a browser with
        orbit controls (three.js bundled, no network needed) and returns the path. Raises
        KernelError as mesh() does."""
        return show_mesh(self.mesh(), path)

    def _repr_png_(self) -> bytes | None:
        """The picture render() writes, as PNG bytes (notebooks show it); None without
        matplotlib, or for a solid without a mesh (empty or not closed)."""
        try:
            mesh = self.mesh()
        except KernelError:
            return None
        return png_of_mesh(mesh)

    def __repr__(self) -> str:
        return repr(self._core)

    # Bytes, files and copies

    def to_bytes(self) -> bytes:
        """The solid's exact polygon list (loops, planes, labels) in the compact, versioned,
        length-checked and checksummed form that save() writes and pickles carry."""
        return self._core.to_bytes()

    def save(self, path: str | bytes | os.PathLike[str] | os.PathLike[bytes]) -> None:
        """Writes to_bytes() to the file at path (str, bytes or os.PathLike); load(path)
        reads it back identical. Raises OSError when the file cannot be written."""
        self._core.save(path)

    def __reduce__(self) -> tuple[Any, tuple[bytes]]:
        """Pickles the solid by its exact polygon list; loading recomputes nothing. As with
        every pickle, loading one from an untrusted source is unsafe."""
        return (_from_bytes, (self._core.to_bytes(),))

    def __copy__(self) -> Solid:
        """The solid itself (solids never change)."""
        return self

    def __deepcopy__(self, memo: object) -> Solid:
        """The solid itself (solids never change)."""
        return self


# Solid() refuses; the package makes its instances without calling Solid.__new__.
_new = cast(Callable[[type[Solid]], Solid], object.__new__)


def _wrap(core: NativeSolid) -> Solid:
    """The Solid holding a native solid."""
    solid = _new(Solid)
    solid._core = core
    solid._mesh = None
    return solid


def _cores(solids: Iterable[Solid]) -> Any:
    """The native solids of an iterable of Solids (anything else passes on, for the native
    part to refuse by position); the iterable itself when it is not one."""
    try:
        items = iter(solids)
    except TypeError:
        return solids
    return [_core(s) for s in items]


def union_all(solids: Iterable[Solid], *, engine: Engine | None = None) -> Solid:
    """The exact union of every solid of solids (any iterable of Solids; an empty solid for none).

    The 'local' engine unites them all in one pass; 'bsp' unites them one after another
    in order. engine is None (DEFAULT_ENGINE), 'bsp' or 'local'; another value raises
    ValueError. Raises TypeError for an item that is not a Solid, KernelError for a
    failure of the kernel.
    """
    return _wrap(_native.union_all(_cores(solids), engine=engine))


def load(path: str | bytes | os.PathLike[str] | os.PathLike[bytes]) -> Solid:
    """The exact solid that Solid.save wrote to the file at path (str, bytes or os.PathLike),
    identical to the saved one. Raises OSError when the file cannot be read and KernelError
    when its bytes are truncated, altered or not a stored solid; whatever loads is a
    well-formed solid."""
    return _wrap(_native.load(path))


def _from_bytes(data: bytes | bytearray | memoryview) -> Solid:
    """The solid stored in data (bytes from Solid.to_bytes); unpickling calls it. Raises
    KernelError for truncated, altered or foreign bytes."""
    return _wrap(_native.decode(data))


# Pickles made before Solid was written in Python name the rebuilding function
# corvanthium._native._from_bytes; that name keeps answering with a Solid.
_native._from_bytes = _from_bytes  # type: ignore[attr-defined]
