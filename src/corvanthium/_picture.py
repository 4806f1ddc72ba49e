"""Shaded pictures of meshes: ``Solid.render`` and ``_repr_png_``.

The picture is drawn by a small depth-buffer rasteriser in numpy (so faces
hide each other correctly, which a painter's sort of triangles does not
get right for long thin ones), outlined where the surface folds, and written
as PNG by matplotlib.
"""

from __future__ import annotations

import io
import os

import numpy as np
import numpy.typing as npt

from corvanthium._mesh import Mesh
from corvanthium._optional import optional_module

FloatArray = npt.NDArray[np.float64]

_BASE_COLOUR = np.array([0.36, 0.55, 0.78])  # a steel blue
_LINE_COLOUR = np.array([0.10, 0.16, 0.25])
_BACKGROUND = np.array([1.0, 1.0, 1.0])
# Towards the viewer: from the front right, above; the light comes from a
# little left of the viewer, so the three sides seen get three shades.
_VIEW = np.array([0.55, -0.80, 0.55])
_LIGHT = np.array([0.15, -0.85, 0.6])
_FOLD_COS = np.cos(np.radians(25))  # neighbouring faces meeting at a sharper angle get a line
_SUPERSAMPLE = 2


def _unit(v: FloatArray) -> FloatArray:
    lengths = np.linalg.norm(v, axis=-1, keepdims=True)
    unit: FloatArray = v / np.where(lengths > 0, lengths, 1)
    return unit


def _screen(mesh: Mesh, size: int) -> tuple[FloatArray, FloatArray]:
    """Pixel coordinates (x right, y down) and depth (larger is nearer) of every vertex."""
    view = _unit(_VIEW)
    right = _unit(np.cross(np.array([0.0, 0.0, 1.0]), view))
    up = np.cross(view, right)
    p = mesh.vertices
    xy = np.stack([p @ right, -(p @ up)], axis=1)
    low, high = xy.min(axis=0), xy.max(axis=0)
    scale = 0.9 * size / max(float((high - low).max()), 1e-300)
    pixels: FloatArray = (xy - (low + high) / 2) * scale + size / 2
    depth: FloatArray = p @ view
    return pixels, depth


def _rasterise(mesh: Mesh, size: int) -> npt.NDArray[np.int64]:
    """Per pixel the index of the nearest triangle, -1 for the background."""
    xy, depth = _screen(mesh, size)
    zbuffer = np.full((size, size), -np.inf)
    owner = np.full((size, size), -1, dtype=np.int64)
    for t, (a, b, c) in enumerate(mesh.faces):
        (ax, ay), (bx, by), (cx, cy) = xy[a], xy[b], xy[c]
        area = (bx - ax) * (cy - ay) - (by - ay) * (cx - ax)
        if area >= 0:  # turned away from the viewer (y points down), or edge-on
            continue
        x0, x1 = max(int(min(ax, bx, cx)), 0), min(int(max(ax, bx, cx)) + 1, size)
        y0, y1 = max(int(min(ay, by, cy)), 0), min(int(max(ay, by, cy)) + 1, size)
        if x0 >= x1 or y0 >= y1:
            continue
        px, py = np.meshgrid(np.arange(x0, x1) + 0.5, np.arange(y0, y1) + 0.5)
        wa = ((bx - px) * (cy - py) - (by - py) * (cx - px)) / area
        wb = ((cx - px) * (ay - py) - (cy - py) * (ax - px)) / area
        wc = 1 - wa - wb
        inside = (wa >= 0) & (wb >= 0) & (wc >= 0)
        z = wa * depth[a] + wb * depth[b] + wc * depth[c]
        window = zbuffer[y0:y1, x0:x1]
        nearer = inside & (z > window)
        window[nearer] = z[nearer]
        owner[y0:y1, x0:x1][nearer] = t
    return owner


def _folds(
    owner: npt.NDArray[np.int64], normals: FloatArray, offsets: FloatArray, scale: float
) -> npt.NDArray[np.bool_]:
    """Pixels next to a silhouette, a fold or a step between parallel faces."""
    lines = np.zeros(owner.shape, dtype=bool)
    for da, db in (((slice(None), slice(1, None)), (slice(None), slice(None, -1))),
                   ((slice(1, None), slice(None)), (slice(None, -1), slice(None)))):  # fmt: skip
        a, b = owner[da], owner[db]
        edge = (a < 0) != (b < 0)
        both = (a >= 0) & (b >= 0) & (a != b)
        cos = np.einsum("...i,...i->...", normals[a], normals[b])
        step = (cos > 0.9999) & (np.abs(offsets[a] - offsets[b]) > 1e-6 * scale)
        edge |= both & ((cos < _FOLD_COS) | step)
        lines[da] |= edge
    return lines


def _image(mesh: Mesh, size: int) -> FloatArray:
    """An RGB image (size x size, floats in [0, 1]) of the shaded, outlined mesh."""
    big = size * _SUPERSAMPLE
    owner = _rasterise(mesh, big)
    corners = mesh.vertices[mesh.faces]
    normals = _unit(np.cross(corners[:, 1] - corners[:, 0], corners[:, 2] - corners[:, 0]))
    offsets = np.einsum("ij,ij->i", normals, corners[:, 0])
    diffuse = np.clip(normals @ _unit(_LIGHT), 0, 1)
    shades = np.clip((0.42 + 0.55 * diffuse)[:, None] * _BASE_COLOUR[None, :], 0, 1)
    scale = float(np.abs(mesh.vertices).max(initial=1.0))
    picture = np.where(owner[..., None] >= 0, shades[np.maximum(owner, 0)], _BACKGROUND)
    lines = _folds(owner, normals, offsets, scale)
    picture[lines] = _LINE_COLOUR
    blocks: FloatArray = picture.reshape(size, _SUPERSAMPLE, size, _SUPERSAMPLE, 3).mean(axis=(1, 3))
    return blocks


def _png(mesh: Mesh, size: int) -> bytes:
    image = optional_module("matplotlib.image", "plot")
    buffer = io.BytesIO()
    image.imsave(buffer, _image(mesh, size), format="png")
    return buffer.getvalue()


def render_mesh(mesh: Mesh, path: str | os.PathLike[str]) -> None:
    """Writes a shaded 800 x 800 PNG of mesh to path."""
    data = _png(mesh, 800)
    with open(path, "wb") as f:
        f.write(data)


def png_of_mesh(mesh: Mesh) -> bytes | None:
    """A 400 x 400 shaded PNG of mesh, or None when matplotlib is missing."""
    try:
        return _png(mesh, 400)
    except ImportError:
        return None
