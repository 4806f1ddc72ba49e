"""The package's ``Solid``: an immutable exact solid, a Python object holding
the native one (``_native.NativeSolid``) and its mesh once made."""

from __future__ import annotations

import os
from collections.abc import Callable, Iterable, Sequence
from fractions import Fraction
from typing import Any, NoReturn, cast, final

from corvanthium import _native
from corvanthium._edges import Edge, EdgeChoice, chamfer_core, edges_of
from corvanthium._files import export_mesh
from corvanthium._mesh import Mesh, mesh_of_parts
from corvanthium._native import KernelError, NativeSolid
from corvanthium._picture import png_of_mesh, render_mesh
from corvanthium._rotation import exact, rotation
from corvanthium._step import STEP_FORMATS, export_step, read_step
from corvanthium._types import Axis, Engine, Number, Point3
from corvanthium._viewer import show_mesh

_EXACT_NUMBERS = """
Numbers are exact: int, Fraction, finite Decimal or a text such as "1/3" or
"0.25". Raises TypeError for another type (a float or bool included) and
KernelError for a malformed text or a zero denominator."""


def _point(point: Any, name: str) -> tuple[Fraction, Fraction, Fraction]:
    if not isinstance(point, Sequence) or len(point) != 3:
        raise TypeError(f"argument '{name}': expected a point (x, y, z)")
    return (exact(point[0], name), exact(point[1], name), exact(point[2], name))


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

    def chamfer(self, dist: Number, *, edges: EdgeChoice = None, method: str | None = None) -> Solid:
        """The solid with chosen edges bevelled by dist (positive): each becomes a flat face
        meeting each of its two faces along a line at dist from the edge, measured in that face
        across the edge. At a convex edge material is cut away, at a concave one the notch is
        filled. Where chosen edges meet, their bevels meet along miters; a corner where every
        edge is chosen and all are convex (or all concave) is also cut (or filled) by the plane
        through the points where the bevel lines meet in its faces, as at a box's corner.
        Edges not chosen stay sharp. Bevel faces are labelled 'chamfer', every other face keeps
        its label. The result is an exact closed solid.

        edges is None (every edge), an iterable of Edge records from this solid's edges(), or a
        predicate taking an Edge (``lambda e: e.direction[0] == e.direction[1] == 0`` takes
        the upright edges); choosing no edge returns the solid unchanged. Round shapes are
        faceted, and every edge includes the edges between their facets: bevel a cylinder's
        rims with ``edges=lambda e: e.direction[2] == 0``
        (``cylinder(5, 10, 64).chamfer(Fraction(1, 2), edges=...)``).

        Exactness: where a face has a rational unit direction across the edge (axis-aligned
        faces, Pythagorean outlines, rational rotations) the bevel meets it at exactly dist;
        elsewhere the bevel's plane is rounded to a rational plane that meets the face within a
        relative 1e-12 of dist (in fact within 6e-17).

        method='cutters' (keyword only, without edges) gives the construction by oversized
        cutter solids instead, a slab per edge and a tetrahedron per corner cut through
        whatever lies in them: right on convex solids only, and only for faces with rational
        unit normals (KernelError otherwise). Another method is a ValueError.

        Raises KernelError, naming the edge by its end points and the face: for a dist at which
        a face along a chosen edge would vanish or fall apart (on a box, dist of half its
        smallest side or more), or a bevel would reach another part of the solid; for an Edge
        not of this solid; for a solid that is empty or not closed. TypeError for an item of
        edges that is not an Edge, or edges with method='cutters'."""
        return _wrap(chamfer_core(self._core, dist, edges, method))

    chamfer.__doc__ = (chamfer.__doc__ or "") + _EXACT_NUMBERS

    def edges(self) -> tuple[Edge, ...]:
        """The solid's edges, a tuple of frozen Edge records in a fixed order (by start, end and
        the faces' normals): the maximal straight segments where two of its faces meet, each
        face being the part of the surface in one plane facing one way. Pieces of one edge
        split by T-junctions come back as one edge; where four faces meet along a line there
        are two edges, one per pair of faces around the same side of the solid. Raises
        KernelError naming the place where the surface is not closed."""
        return edges_of(self._core)

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

    # Turns, maps and placement

    def rotate(
        self,
        axis: Any = None,
        degrees: Number | None = None,
        *,
        tolerance: Number = Fraction(1, 10**9),
        cos: Number | None = None,
        sin: Number | None = None,
        quaternion: Sequence[Number] | None = None,
        about: Sequence[Number] = (0, 0, 0),
    ) -> Solid:
        """The solid turned right-handed about an axis through ``about``, by an exact rotation.

        The arguments are those of ``corvanthium.rotation``: ``rotate("z", 30)``
        turns by a rational rotation within ``tolerance`` radians of 30°
        (exactly about the axis); ``rotate(axis, cos=3/5, sin=4/5)`` and
        ``rotate(quaternion=(a, b, c, d))`` are exact.

        >>> box(2, 1, 1).rotate("z", 90).bbox[1]
        (Fraction(0, 1), Fraction(2, 1), Fraction(1, 1))
        """
        m = rotation(axis, degrees, tolerance=tolerance, cos=cos, sin=sin, quaternion=quaternion)
        c = _point(about, "about")
        # p -> m (p - c) + c
        offset = [c[i] - sum(m[i][j] * c[j] for j in range(3)) for i in range(3)]
        return _wrap(_native.transform(self._core, m, offset))

    def transform(self, matrix: Sequence[Sequence[Number]]) -> Solid:
        """The solid mapped exactly by p -> M p + t: ``matrix`` is M (3 rows of 3 exact numbers)
        or [M | t] (3 rows of 4, the last column the translation). A mirroring matrix
        turns the faces round, so the solid stays outward.

        >>> box(1, 1, 1).transform([[2, 0, 0, 5], [0, 1, 0, 0], [0, 0, 1, 0]]).volume
        Fraction(2, 1)

        Raises KernelError for a singular matrix or rows of other lengths,
        TypeError for numbers that are not exact.
        """
        if not isinstance(matrix, Sequence) or len(matrix) != 3:
            raise KernelError("argument 'matrix': expected 3 rows (3 x 3, or 3 x 4 with a translation column)")
        rows = [list(row) if isinstance(row, Sequence) else row for row in matrix]
        width = {len(row) if isinstance(row, list) else -1 for row in rows}
        if width not in ({3}, {4}):
            raise KernelError("argument 'matrix': rows of 3 numbers each (or 4, the last the translation)")
        offset = [row[3] for row in rows] if width == {4} else [0, 0, 0]
        return _wrap(_native.transform(self._core, [row[:3] for row in rows], offset))

    def center(self) -> Solid:
        """The solid moved so that its centre of mass is the origin, exactly.

        >>> box(2, 4, 6).center().bbox[0]
        (Fraction(-1, 1), Fraction(-2, 1), Fraction(-3, 1))
        """
        cx, cy, cz = self.centroid
        return self.translate(-cx, -cy, -cz)

    def align(self, x: str | None = None, y: str | None = None, z: str | None = None) -> Solid:
        """The solid moved so that, along each axis given, its bounding box's "min", "center" or
        "max" is at 0 (axes left as None do not move): ``align("center", "center", "min")`` puts
        the part centred on the z axis, standing on z = 0.

        >>> box(2, 2, 2).translate(5, 5, 5).align("center", "center", "min").bbox[0]
        (Fraction(-1, 1), Fraction(-1, 1), Fraction(0, 1))
        """
        lo, hi = self.bbox
        moves = []
        for i, (name, where) in enumerate((("x", x), ("y", y), ("z", z))):
            if where is None:
                moves.append(Fraction(0))
            elif where in ("min", "center", "max"):
                at = {"min": lo[i], "max": hi[i], "center": (lo[i] + hi[i]) / 2}[where]
                moves.append(-at)
            else:
                raise KernelError(f"argument '{name}' must be 'min', 'center', 'max' or None, got {where!r}")
        return self.translate(*moves)

    # Mass properties

    @property
    def centroid(self) -> Point3:
        """The exact centre of mass (density 1), Fractions; KernelError for an empty solid."""
        (volume,), first, _ = _native.moments(self._core)
        if volume == 0:
            raise KernelError("centroid: the solid is empty (volume 0)")
        return (first[0] / volume, first[1] / volume, first[2] / volume)

    @property
    def inertia(self) -> tuple[Point3, Point3, Point3]:
        """The exact inertia tensor about the centroid for density 1 (mass = volume): rows of
        the integral of (|r|² I - r rᵀ) dV, r measured from the centroid, so the off-diagonal
        entries are -∫xy dV and so on. KernelError for an empty solid.

        >>> box(1, 2, 3).inertia[0][0]  # m (b² + c²) / 12
        Fraction(13, 2)
        """
        (volume,), first, (xx, yy, zz, xy, yz, zx) = _native.moments(self._core)
        if volume == 0:
            raise KernelError("inertia: the solid is empty (volume 0)")
        c = [f / volume for f in first]
        # second moments about the centroid: S - V c cᵀ
        s = [[xx, xy, zx], [xy, yy, yz], [zx, yz, zz]]
        s = [[s[i][j] - volume * c[i] * c[j] for j in range(3)] for i in range(3)]
        trace = s[0][0] + s[1][1] + s[2][2]
        rows = [tuple((trace if i == j else 0) - s[i][j] for j in range(3)) for i in range(3)]
        return (rows[0], rows[1], rows[2])  # type: ignore[return-value]

    @property
    def surface_area(self) -> float:
        """The area of the surface, a float (the area of a tilted face is a square root)."""
        return _native.surface_area(self._core)

    def contains(self, point: Sequence[Number]) -> str:
        """Where the exact point (x, y, z) lies: "inside", "outside" or "boundary" (on a face,
        edge or vertex), decided exactly.

        >>> box(1, 1, 1).contains((0, "1/2", 1))
        'boundary'
        """
        where: str = _native.contains(self._core, list(_point(point, "point")))
        return where

    def components(self) -> list[Solid]:
        """The solid's pieces, each an exact closed solid, largest volume first: parts that touch
        only along an edge or at a point are separate pieces, a cavity stays with the piece
        around it. Each piece is bounded by the triangles of mesh() (labels kept).
        KernelError as mesh() raises it.

        >>> len((box(1, 1, 1) | box(1, 1, 1).translate(1, 1, 0)).components())
        2
        """
        return [_wrap(core) for core in _native.components(self._core)]

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
        """Writes the solid to path (str or PathLike) in the format its suffix names: its mesh
        as .stl, .obj, .ply, .glb or .3mf (through trimesh, the 'mesh' extra), or its faces
        (planar regions with their holes, edges shared) as .step, .stp or .brep (through
        OCCT, the 'step' extra). Coordinates are written as the files hold them, as floats
        (the doubles nearest the exact corners). Raises KernelError as mesh() does,
        ValueError for another suffix, ImportError without the extra."""
        if os.fspath(path).lower().endswith(STEP_FORMATS):
            export_step(self._core, path)
            return
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


def load_step(path: str | os.PathLike[str], *, tolerance: float = 0.01) -> Solid:
    """One exact solid of every solid in a STEP file (through OCCT, the 'step' extra): planar
    faces come in exactly as the doubles the file holds, curved faces are triangulated within
    the chordal tolerance; the result goes through from_mesh's checks. Raises
    FileNotFoundError for a missing file, KernelError naming the file when it is not STEP or
    holds no closed solid, ImportError without the extra."""
    return _wrap(read_step(path, tolerance=tolerance))


def _from_bytes(data: bytes | bytearray | memoryview) -> Solid:
    """The solid stored in data (bytes from Solid.to_bytes); unpickling calls it. Raises
    KernelError for truncated, altered or foreign bytes."""
    return _wrap(_native.decode(data))


# Pickles made before Solid was written in Python name the rebuilding function
# corvanthium._native._from_bytes; that name keeps answering with a Solid.
_native._from_bytes = _from_bytes  # type: ignore[attr-defined]
