"""STEP and BREP files through OCCT: what export_step writes, OCCT alone reads back as one
valid closed solid per piece with the solid's planar regions as faces, its volume and its
box; read_step makes exact solids of STEP files and refuses what holds no solid."""

import math
import os
import re
import sys
from fractions import Fraction
from pathlib import Path

import pytest

if "asan" in os.environ.get("LD_PRELOAD", ""):
    pytest.skip("OCCT's libraries are not built for the sanitizer runtime", allow_module_level=True)
pytest.importorskip("OCP", reason="STEP files need the 'step' extra (cadquery-ocp-novtk)")

from OCP.BRep import BRep_Builder, BRep_Tool  # noqa: E402
from OCP.BRepAlgoAPI import BRepAlgoAPI_Cut  # noqa: E402
from OCP.BRepBuilderAPI import BRepBuilderAPI_MakeFace  # noqa: E402
from OCP.BRepCheck import BRepCheck_Analyzer  # noqa: E402
from OCP.BRepGProp import BRepGProp  # noqa: E402
from OCP.BRepPrimAPI import BRepPrimAPI_MakeBox, BRepPrimAPI_MakeCylinder  # noqa: E402
from OCP.BRepTools import BRepTools  # noqa: E402
from OCP.gp import gp_Ax2, gp_Dir, gp_Pln, gp_Pnt  # noqa: E402
from OCP.GProp import GProp_GProps  # noqa: E402
from OCP.STEPControl import STEPControl_AsIs, STEPControl_Reader, STEPControl_Writer  # noqa: E402
from OCP.TopoDS import TopoDS, TopoDS_Shape  # noqa: E402

import corvanthium as cv  # noqa: E402
from corvanthium import _native, _step  # noqa: E402

sys.path.insert(0, str(Path(__file__).resolve().parents[3] / "examples"))
from part import make_part  # noqa: E402


def occt_read(path):
    reader = STEPControl_Reader()
    reader.ReadFile(str(path))
    reader.TransferRoots()
    return reader.OneShape()


def occt_write(shape, path):
    writer = STEPControl_Writer()
    writer.Transfer(shape, STEPControl_AsIs)
    writer.Write(str(path))


def expect_written(shape, solid, pieces):
    """Valid, `pieces` solids of closed shells, one face per planar region, the exact volume
    and box (vertices at the rounded exact corners)."""
    assert BRepCheck_Analyzer(shape).IsValid()
    assert len(_step._sub_shapes(shape, "TopAbs_SOLID")) == pieces
    assert all(BRep_Tool.IsClosed_s(s) for s in _step._sub_shapes(shape, "TopAbs_SHELL"))
    points, faces, _ = _native.face_loops(solid._core)
    assert len(_step._sub_shapes(shape, "TopAbs_FACE")) == len(faces)
    props = GProp_GProps()
    BRepGProp.VolumeProperties_s(shape, props)
    assert props.Mass() == pytest.approx(float(solid.volume), rel=1e-9)
    corners = [BRep_Tool.Pnt_s(TopoDS.Vertex(v)) for v in _step._sub_shapes(shape, "TopAbs_VERTEX")]
    assert {(p.X(), p.Y(), p.Z()) for p in corners} == set(points)
    for k, (low, high) in enumerate(zip(*solid.bbox, strict=True)):
        along = [(p.X(), p.Y(), p.Z())[k] for p in corners]
        assert min(along) == float(low) and max(along) == float(high)


def drilled_plate():
    holes = [cv.cylinder(2, 9, 16).translate(5 + 10 * i, 5 + 10 * j, -2) for i in range(6) for j in range(6)]
    return cv.box(60, 60, 5, label="plate").cut_all(holes)


@pytest.mark.parametrize("make", [make_part, drilled_plate])
def test_parts_are_written_as_one_valid_closed_solid_with_named_faces(tmp_path, make):
    solid = make()
    path = tmp_path / "part.step"
    _step.export_step(solid, path)
    expect_written(occt_read(path), solid, 1)
    names = set(re.findall(r"ADVANCED_FACE\('([^']*)'", path.read_text()))
    assert names == set(solid.mesh().labels)


def test_pieces_cavities_and_brep(tmp_path):
    touching = cv.box(1, 1, 1) | cv.box(1, 1, 1).translate(1, 1, 0)
    hollow = (cv.box(4, 4, 4) - cv.box(2, 2, 2).translate(1, 1, 1)).translate(5, 0, 0)
    solid = touching | hollow
    _step.export_step(solid, tmp_path / "p.stp")
    shape = occt_read(tmp_path / "p.stp")
    expect_written(shape, solid, 3)
    assert sorted(len(_step._sub_shapes(s, "TopAbs_SHELL")) for s in _step._sub_shapes(shape, "TopAbs_SOLID")) == [
        1,
        1,
        2,
    ]
    _step.export_step(solid, tmp_path / "p.brep")
    brep = TopoDS_Shape()
    assert BRepTools.Read_s(brep, str(tmp_path / "p.brep"), BRep_Builder())
    assert BRepCheck_Analyzer(brep).IsValid() and len(_step._sub_shapes(brep, "TopAbs_SOLID")) == 3


def test_an_axis_aligned_dyadic_part_comes_back_exactly(tmp_path):
    half, eighth = Fraction(1, 2), Fraction(1, 8)
    solid = (cv.box(6, 4, 2) | cv.box(2, 2, 3).translate(eighth, eighth, half)).cut_all(
        [cv.box(1, 1, 5).translate(3 + half, 1 + eighth, -1), cv.box(1, 1, 1).translate(4, 2, half)]
    )
    _step.export_step(solid, tmp_path / "d.step")
    assert _step.read_step(tmp_path / "d.step").same_shape(solid._core)


def test_curved_faces_come_in_within_the_tolerance_and_planar_ones_exactly(tmp_path):
    box = BRepPrimAPI_MakeBox(10.0, 10.0, 0.375).Shape()
    hole = BRepPrimAPI_MakeCylinder(gp_Ax2(gp_Pnt(5.0, 5.0, -1.0), gp_Dir(0.0, 0.0, 1.0)), 3.0, 2.0).Shape()
    occt_write(BRepAlgoAPI_Cut(box, hole).Shape(), tmp_path / "c.step")
    exact = 0.375 * (100 - math.pi * 9)
    errors = []
    for tolerance in (0.01, 0.0001):
        core = _step.read_step(tmp_path / "c.step", tolerance=tolerance)
        assert core.bbox == ((0, 0, 0), (10, 10, Fraction(3, 8)))
        errors.append(abs(float(core.volume) / exact - 1))
    assert errors[1] < errors[0] / 10 and errors[1] < 1e-4


def test_refusals(tmp_path, monkeypatch):
    (tmp_path / "notes.step").write_text("a shopping list")
    with pytest.raises(cv.KernelError, match=r"notes\.step: not a STEP file"):
        _step.read_step(tmp_path / "notes.step")
    occt_write(BRepBuilderAPI_MakeFace(gp_Pln(), 0.0, 1.0, 0.0, 1.0).Face(), tmp_path / "face.step")
    with pytest.raises(cv.KernelError, match=r"face\.step: the file holds no solid"):
        _step.read_step(tmp_path / "face.step")
    with pytest.raises(FileNotFoundError):
        _step.read_step(tmp_path / "missing.step")
    with pytest.raises(cv.KernelError, match="tolerance"):
        _step.read_step(tmp_path / "face.step", tolerance=0)
    with pytest.raises(ValueError, match="formats are"):
        _step.export_step(cv.box(1, 1, 1), tmp_path / "box.iges")
    monkeypatch.setitem(sys.modules, "OCP.gp", None)
    with pytest.raises(ImportError, match="'step' extra"):
        _step.export_step(cv.box(1, 1, 1), tmp_path / "box.step")
