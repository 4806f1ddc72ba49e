"""STEP and BREP files through OCCT's Python wheel (the package's 'step' extra).

``export_step`` writes a solid's planar faces (``_native.face_loops``) as closed
shells whose faces share their edges and vertices, one solid per piece;
``read_step`` reads every solid of a STEP file, triangulates its curved faces at a
chordal tolerance and makes one exact native solid of the triangles. The OCCT calls
are kept in a few functions typed with ``Any``: the wheel has no type information.
"""

from __future__ import annotations

import errno
import importlib
import io
import math
import os
from collections.abc import Iterator, Sequence
from contextlib import contextmanager
from pathlib import Path
from typing import Any

import numpy as np
import numpy.typing as npt

from corvanthium import _native
from corvanthium._native import KernelError, NativeSolid
from corvanthium._version import __version__

STEP_FORMATS = (".step", ".stp", ".brep")
# What the OCCT side reads: (x, y, z) per point; per face (outward normal, label,
# shell, loops of point indices, the outer loop first); per shell its piece's outer shell.
Points = Sequence[tuple[float, float, float]]
Faces = Sequence[tuple[tuple[int, int, int], str, int, tuple[tuple[int, ...], ...]]]


def _ocp(name: str) -> Any:
    """The module OCP.<name>; without OCCT's wheel, ImportError naming the extra."""
    try:
        return importlib.import_module(f"OCP.{name}")
    except ImportError as e:
        raise ImportError(
            "STEP and BREP files need OCCT's Python wheel: install the package's 'step' extra "
            "or `pip install cadquery-ocp-novtk`"
        ) from e


@contextmanager
def _quiet() -> Iterator[None]:
    """OCCT's default messenger prints transfer statistics: only failures while inside."""
    message = _ocp("Message")
    printers = message.Message.DefaultMessenger_s().Printers()
    kept = [printers.Value(i) for i in range(1, printers.Length() + 1)]
    levels = [p.GetTraceLevel() for p in kept]
    for p in kept:
        p.SetTraceLevel(message.Message_Gravity.Message_Fail)
    try:
        yield
    finally:
        for p, level in zip(kept, levels, strict=True):
            p.SetTraceLevel(level)


def export_step(solid: object, path: str | os.PathLike[str]) -> None:
    """Writes the solid (a ``Solid`` or a native solid) to path as STEP (``.step``, ``.stp``)
    or OCCT's BREP (``.brep``): one closed solid per piece, its cavities as inner shells;
    each face a connected planar region with its holes, named by its label in STEP.
    Vertices are the doubles nearest to the exact corners (STEP keeps all 17 digits;
    OCCT's BREP text keeps 15)."""
    name = os.fspath(path)
    suffix = Path(name).suffix.lower()
    if suffix not in STEP_FORMATS:
        raise ValueError(f"cannot export to '{suffix or name}' through OCCT: the formats are {', '.join(STEP_FORMATS)}")
    core = getattr(solid, "_core", solid)
    if not isinstance(core, NativeSolid):
        raise TypeError(f"solid: expected a Solid, got {type(solid).__name__}")
    try:
        points, faces, outer_of = _native.face_loops(core)
    except KernelError as e:
        raise KernelError(f"{name}: the solid cannot be written as faces ({e})") from e
    _check_corners(name, points, faces)
    with _quiet():
        shape, named = _shape_of(name, points, faces, outer_of)
        data = _brep_text(shape) if suffix == ".brep" else _step_text(shape, named, Path(name).name)
    with open(name, "wb") as out:
        out.write(data)


def _check_corners(name: str, points: Points, faces: Faces) -> None:
    """Neighbouring corners of a loop must stay apart as doubles."""
    for _, label, _, loops in faces:
        for loop in loops:
            for a, b in zip(loop, loop[1:] + loop[:1], strict=True):
                if points[a] == points[b]:
                    raise KernelError(
                        f"{name}: two neighbouring corners of face '{label}' round to the same doubles "
                        f"{points[a]}; scale the solid up before writing it"
                    )


def _shape_of(name: str, points: Points, faces: Faces, outer_of: Sequence[int]) -> tuple[Any, list[tuple[Any, str]]]:
    """The OCCT shape (a solid, or a compound of solids) and its faces with their labels.
    Vertices and edges are made once and shared by the faces that meet there."""
    gp, api, topods = _ocp("gp"), _ocp("BRepBuilderAPI"), _ocp("TopoDS")
    builder = _ocp("BRep").BRep_Builder()
    vertices = [api.BRepBuilderAPI_MakeVertex(gp.gp_Pnt(*p)).Vertex() for p in points]
    edges: dict[tuple[int, int], Any] = {}

    def edge(a: int, b: int) -> Any:
        lo, hi = min(a, b), max(a, b)
        if (lo, hi) not in edges:
            made = api.BRepBuilderAPI_MakeEdge(vertices[lo], vertices[hi])
            if not made.IsDone():
                raise KernelError(
                    f"{name}: the corners {points[lo]} and {points[hi]} are closer than OCCT's precision; "
                    "scale the solid up before writing it"
                )
            edges[lo, hi] = made.Edge()
        return edges[lo, hi] if a == lo else edges[lo, hi].Reversed()

    def wire(loop: tuple[int, ...]) -> Any:
        made = topods.TopoDS_Wire()
        builder.MakeWire(made)
        for a, b in zip(loop, loop[1:] + loop[:1], strict=True):
            builder.Add(made, edge(a, b))
        made.Closed(True)
        return made

    shells = [topods.TopoDS_Shell() for _ in outer_of]
    for shell in shells:
        builder.MakeShell(shell)
    named = []
    for normal, label, shell_index, loops in faces:
        largest = max(abs(c) for c in normal)
        plane = gp.gp_Pln(gp.gp_Pnt(*points[loops[0][0]]), gp.gp_Dir(*(c / largest for c in normal)))
        made = api.BRepBuilderAPI_MakeFace(plane, wire(loops[0]), True)
        for hole in loops[1:]:
            made.Add(wire(hole))
        face = made.Face()
        builder.Add(shells[shell_index], face)
        named.append((face, label))
    return _solids(builder, topods, shells, outer_of), named


def _solids(builder: Any, topods: Any, shells: list[Any], outer_of: Sequence[int]) -> Any:
    """One solid per outer shell, holding its cavities; a compound when there are several."""
    solids: dict[int, Any] = {}
    for s, shell in enumerate(shells):
        shell.Closed(True)
        if outer_of[s] == s:
            solids[s] = topods.TopoDS_Solid()
            builder.MakeSolid(solids[s])
    for s, shell in enumerate(shells):
        builder.Add(solids[outer_of[s]], shell)
    if len(solids) == 1:
        return next(iter(solids.values()))
    compound = topods.TopoDS_Compound()
    builder.MakeCompound(compound)
    for solid in solids.values():
        builder.Add(compound, solid)
    return compound


def _brep_text(shape: Any) -> bytes:
    stream = io.BytesIO()
    _ocp("BRepTools").BRepTools.Write_s(shape, stream)
    return stream.getvalue()


def _step_text(shape: Any, named: list[tuple[Any, str]], file_name: str) -> bytes:
    """AP214 text of the shape, faces named by their labels, every real with 17 digits
    (OCCT's own writer keeps 12, which would move the vertices)."""
    text, xcaf, names = _ocp("TCollection"), _ocp("XCAFDoc"), _ocp("TDataStd")
    step, static = _ocp("STEPControl"), _ocp("Interface").Interface_Static
    doc = _ocp("TDocStd").TDocStd_Document(text.TCollection_ExtendedString("corvanthium"))
    tool = xcaf.XCAFDoc_DocumentTool.ShapeTool_s(doc.Main())
    top = tool.AddShape(shape, False)
    names.TDataStd_Name.Set_s(top, text.TCollection_ExtendedString(Path(file_name).stem))
    for face, label in named:
        names.TDataStd_Name.Set_s(tool.AddSubShape(top, face), text.TCollection_ExtendedString(label))
    writer = _ocp("STEPCAFControl").STEPCAFControl_Writer()
    writer.SetNameMode(True)
    was = static.IVal_s("write.stepcaf.subshapes.name")
    static.SetIVal_s("write.stepcaf.subshapes.name", 1)
    try:
        if not writer.Transfer(doc, step.STEPControl_StepModelType.STEPControl_AsIs):
            raise KernelError(f"{file_name}: OCCT could not translate the solid to STEP")
    finally:
        static.SetIVal_s("write.stepcaf.subshapes.name", was)
    model = writer.ChangeWriter().Model()
    header = _ocp("APIHeaderSection").APIHeaderSection_MakeHeader(model)
    header.SetName(text.TCollection_HAsciiString(file_name))
    header.SetOriginatingSystem(text.TCollection_HAsciiString(f"corvanthium {__version__}"))
    out = _ocp("StepData").StepData_StepWriter(model)
    out.FloatWriter().SetFormat("%.16E", True)
    out.FloatWriter().SetZeroSuppress(False)
    out.SendModel(writer.ChangeWriter().WS().Protocol())
    stream = io.BytesIO()
    out.Print(stream)
    return stream.getvalue()


def read_step(path: str | os.PathLike[str], *, tolerance: float = 0.01) -> NativeSolid:
    """One exact native solid of every solid in a STEP file: curved faces triangulated by
    OCCT's mesher within the chordal ``tolerance`` (in the file's length unit, millimetres
    unless it says otherwise), planar faces taken exactly as the doubles of their corners;
    solids that overlap are united. ``FileNotFoundError`` for a missing file,
    ``KernelError`` naming the file for one that is not STEP, holds no solid, or holds one
    that is not closed; ``ImportError`` without the 'step' extra."""
    if isinstance(tolerance, bool) or not isinstance(tolerance, (int, float)):
        raise TypeError(f"tolerance: expected a float, got {type(tolerance).__name__}")
    if not (math.isfinite(tolerance) and tolerance > 0):
        raise KernelError(f"tolerance: expected a positive chordal deviation, got {tolerance!r}")
    name = os.fspath(path)
    if not os.path.exists(name):
        raise FileNotFoundError(errno.ENOENT, "no such STEP file", name)
    if not os.path.isfile(name):
        raise KernelError(f"{name}: not a file")
    with _quiet():
        solid_shapes = _read_solids(name)
        try:
            meshes = [_triangles(s, tolerance) for s in solid_shapes]
        except KernelError as e:
            raise KernelError(f"{name}: {e}") from e
    solids = []
    for i, (vertices, faces) in enumerate(meshes):
        try:
            solids.append(_native._from_float_mesh(vertices, faces, label="step"))
        except KernelError as e:
            raise KernelError(f"{name}: solid {i + 1} of {len(meshes)} does not bound a closed volume ({e})") from e
    return solids[0] if len(solids) == 1 else _native.union_all(solids)


def _read_solids(name: str) -> list[Any]:
    step, done = _ocp("STEPControl"), _ocp("IFSelect").IFSelect_ReturnStatus.IFSelect_RetDone
    reader = step.STEPControl_Reader()
    status = reader.ReadFile(name)
    if status != done:
        raise KernelError(f"{name}: not a STEP file OCCT can read ({status.name}); load_step reads ISO 10303-21 text")
    reader.TransferRoots()
    found = _sub_shapes(reader.OneShape(), "TopAbs_SOLID")
    if not found:
        raise KernelError(
            f"{name}: the file holds no solid; load_step reads closed solids (shells and faces alone are not)"
        )
    return found


def _sub_shapes(shape: Any, kind: str) -> list[Any]:
    topexp, topabs = _ocp("TopExp"), _ocp("TopAbs")
    found = []
    explorer = topexp.TopExp_Explorer(shape, getattr(topabs.TopAbs_ShapeEnum, kind))
    while explorer.More():
        found.append(explorer.Current())
        explorer.Next()
    return found


def _triangles(solid: Any, tolerance: float) -> tuple[npt.NDArray[np.float64], npt.NDArray[np.int64]]:
    """The solid's faces triangulated by OCCT within the chordal tolerance, outward. Corners
    are joined where the solid's topology joins them (faces meet at the nodes of their shared
    edges and vertices), so where a solid touches itself each sheet keeps its own copy."""
    brep, topods, topabs, toploc = _ocp("BRep"), _ocp("TopoDS"), _ocp("TopAbs"), _ocp("TopLoc")
    _ocp("BRepMesh").BRepMesh_IncrementalMesh(solid, tolerance, False, 0.5, False)
    shared = [_index_map(solid, kind) for kind in ("TopAbs_VERTEX", "TopAbs_EDGE")]
    index: dict[tuple[str, int, int], int] = {}
    points: list[tuple[float, float, float]] = []
    triangles: list[tuple[int, int, int]] = []
    for f, shape in enumerate(_sub_shapes(solid, "TopAbs_FACE")):
        face = topods.TopoDS.Face(shape)
        location = toploc.TopLoc_Location()
        mesh = brep.BRep_Tool.Triangulation_s(face, location)
        if mesh is None:
            raise KernelError("a face of the solid could not be triangulated by OCCT's mesher")
        keys = _edge_node_keys(face, mesh, location, *shared)
        move, at = location.Transformation(), []
        for i in range(1, mesh.NbNodes() + 1):
            key = keys.get(i, ("face", f, i))
            if key not in index:
                index[key] = len(points)
                p = mesh.Node(i).Transformed(move)
                points.append((p.X(), p.Y(), p.Z()))
            at.append(index[key])
        flip = face.Orientation() == topabs.TopAbs_Orientation.TopAbs_REVERSED
        for i in range(1, mesh.NbTriangles() + 1):
            a, b, c = (at[k - 1] for k in mesh.Triangle(i).Get())
            triangles.append((a, c, b) if flip else (a, b, c))
    joined = np.array(triangles, dtype=np.int64).reshape(-1, 3)
    # A face that narrows to a point (a sphere's pole) leaves triangles with two corners
    # joined: their sides cancel among themselves.
    apart = (joined[:, 0] != joined[:, 1]) & (joined[:, 1] != joined[:, 2]) & (joined[:, 2] != joined[:, 0])
    return np.array(points, dtype=np.float64).reshape(-1, 3), joined[apart]


def _index_map(shape: Any, kind: str) -> Any:
    """The sub-shapes of a kind, numbered, told apart as IsSame does (orientation aside)."""
    found = _ocp("collections").IndexedMap_TopoDS_Shape_TopTools_ShapeMapHasher()
    _ocp("TopExp").TopExp.MapShapes_s(shape, getattr(_ocp("TopAbs").TopAbs_ShapeEnum, kind), found)
    return found


def _edge_node_keys(face: Any, mesh: Any, location: Any, vertices: Any, edges: Any) -> dict[int, tuple[str, int, int]]:
    """Per node of the face's triangulation that lies on one of its edges, the vertex or
    the place along the edge it stands for (the faces of an edge share its nodes)."""
    brep, topods, topexp = _ocp("BRep").BRep_Tool, _ocp("TopoDS").TopoDS, _ocp("TopExp").TopExp
    keys: dict[int, tuple[str, int, int]] = {}
    for shape in _sub_shapes(face, "TopAbs_EDGE"):
        edge = topods.Edge(shape)
        polygon = brep.PolygonOnTriangulation_s(edge, mesh, location)
        if polygon is None:
            continue
        nodes = [polygon.Node(k) for k in range(1, polygon.NbNodes() + 1)]
        first = ("vertex", vertices.FindIndex(topexp.FirstVertex_s(edge)), 0)
        last = ("vertex", vertices.FindIndex(topexp.LastVertex_s(edge)), 0)
        if brep.Degenerated_s(edge):
            keys.update((n, first) for n in nodes)
            continue
        keys.update((n, ("edge", edges.FindIndex(edge), k)) for k, n in enumerate(nodes))
        keys[nodes[0]], keys[nodes[-1]] = first, last
    return keys
