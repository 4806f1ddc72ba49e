"""Mesh files (trimesh), pictures (matplotlib) and the HTML viewer; each test
skips when what it needs is missing. The browser test starts a process and
is marked `subprocess` (left out of the sanitizer pass)."""

import os
import shutil
import subprocess
import tempfile
from fractions import Fraction

import numpy as np
import pytest
from mesh_checks import six_volume

import corvanthium as cv


def part():
    plate = cv.box(4, 3, 1, label="plate") - cv.box(1, 1, 3, label="hole").translate(1, 1, -1)
    return plate | cv.box(1, 1, 1, label="boss").translate(2, 1, 1)


@pytest.mark.parametrize("suffix", [".stl", ".obj", ".ply", ".glb", ".3mf"])
def test_export_and_load_give_back_the_solid(tmp_path, suffix):
    pytest.importorskip("trimesh")
    if suffix == ".3mf":
        pytest.importorskip("lxml")
        pytest.importorskip("networkx")
    s = part()
    path = tmp_path / f"part{suffix}"
    assert s.export(path) is None and path.stat().st_size > 0
    back = cv.load_mesh(path)
    assert back.volume == s.volume and back.face_count == s.face_count and back.bbox == s.bbox
    assert set(back.mesh().labels) == {"part"}
    assert set(cv.load_mesh(str(path), label="x").mesh().labels) == {"x"}


def test_export_refuses_other_suffixes_and_load_refuses_empty_files(tmp_path):
    trimesh = pytest.importorskip("trimesh")
    with pytest.raises(ValueError, match=r"\.stl"):
        part().export(tmp_path / "part.iges")
    with pytest.raises(cv.KernelError):
        cv.box(1, 1, 1).cut(cv.box(1, 1, 1)).export(tmp_path / "empty.stl")
    open_box = trimesh.creation.box()
    open_box.faces = open_box.faces[:-1]
    open_box.export(tmp_path / "open.ply")
    with pytest.raises(cv.KernelError, match=r"open\.ply: from_mesh: face \d+: the edge .*the mesh has a hole"):
        cv.load_mesh(tmp_path / "open.ply")
    with pytest.raises(FileNotFoundError, match="nothing.stl"):
        cv.load_mesh(tmp_path / "nothing.stl")
    (tmp_path / "noise.stl").write_bytes(b"solid x\nfacet normal oops\n" + bytes(range(256)))
    with pytest.raises(cv.KernelError, match=r"noise\.stl: ") as info:
        cv.load_mesh(tmp_path / "noise.stl")
    assert info.value.__cause__ is not None or "no triangles" in str(info.value)


def test_a_scene_of_two_bodies_loads_as_one_solid(tmp_path):
    trimesh = pytest.importorskip("trimesh")
    a = trimesh.creation.box(extents=(1, 1, 1))
    b = trimesh.creation.box(extents=(1, 1, 1))
    scene = trimesh.Scene()
    scene.add_geometry(a, node_name="a", transform=trimesh.transformations.translation_matrix((0, 0, 0)))
    scene.add_geometry(b, node_name="b", transform=trimesh.transformations.translation_matrix((3, 0, 0)))
    scene.export(tmp_path / "two.glb")
    s = cv.load_mesh(tmp_path / "two.glb")
    assert s.volume == 2 and s.bbox == ((-0.5, -0.5, -0.5), (3.5, 0.5, 0.5))


def test_an_icosphere_loads_exactly_from_stl(tmp_path):
    trimesh = pytest.importorskip("trimesh")
    sphere = trimesh.creation.icosphere(subdivisions=2)
    sphere.export(tmp_path / "sphere.stl")
    raw = trimesh.load(tmp_path / "sphere.stl", process=False)
    points = [tuple(Fraction(float(c)) for c in p) for p in raw.vertices]
    s = cv.load_mesh(tmp_path / "sphere.stl")
    assert s.polygon_count == len(sphere.faces)
    assert s.volume * 6 == six_volume(points, raw.faces.tolist())


def test_render_writes_a_png_of_the_part(tmp_path):
    pytest.importorskip("matplotlib")
    import matplotlib.image

    path = tmp_path / "part.png"
    assert part().render(path) is None
    pixels = matplotlib.image.imread(path)
    assert pixels.shape[0] >= 400 and pixels.shape[1] >= 400
    drawn = np.abs(pixels[:, :, :3] - 1).sum(axis=2) > 0.1  # not white
    assert 0.05 < drawn.mean() < 0.9
    png = part()._repr_png_()
    assert png is not None and png.startswith(b"\x89PNG")


def test_show_writes_one_self_contained_page(tmp_path):
    path = tmp_path / "part.html"
    assert part().show(path) == str(path)
    page = path.read_text(encoding="utf-8")
    assert "OrbitControls" in page and "WebGLRenderer" in page and '"indices":[' in page
    assert "http://" not in page.split("<script>")[0] and "<script src" not in page
    with open(os.path.join(cv.__path__[0], "viewer", "LICENSE"), encoding="utf-8") as notice:
        assert "MIT" in notice.read()


def _chromium():
    return shutil.which("chromium") or shutil.which("chromium-browser")


@pytest.mark.subprocess
def test_headless_chromium_draws_the_part(tmp_path):
    browser = _chromium()
    if browser is None:
        pytest.skip("chromium is not installed")
    page = tmp_path / "part.html"
    part().show(page)
    shot = tmp_path / "shot.png"
    flags = ["--headless", "--no-sandbox", "--use-gl=swiftshader", "--enable-unsafe-swiftshader",
             "--disable-gpu-sandbox", "--window-size=640,480", "--virtual-time-budget=5000",
             f"--user-data-dir={tempfile.mkdtemp(dir=tmp_path)}"]  # fmt: skip
    dom = subprocess.run([browser, *flags, "--dump-dom", page.as_uri()], capture_output=True, text=True, timeout=120)
    assert 'data-status="shown ' in dom.stdout, dom.stdout[-400:] + dom.stderr[-2000:]
    drawn = int(dom.stdout.split('data-status="shown ')[1].split('"')[0].split(", ")[1].split()[0])
    assert drawn > 640 * 480 // 20
    subprocess.run([browser, *flags, f"--screenshot={shot}", page.as_uri()], capture_output=True, timeout=120)
    pytest.importorskip("matplotlib")
    import matplotlib.image

    pixels = matplotlib.image.imread(shot)[:, :, :3]
    background = np.array([0xF4, 0xF5, 0xF7]) / 255
    part_pixels = np.abs(pixels - background).sum(axis=2) > 0.1
    assert 0.05 < part_pixels.mean() < 0.95
