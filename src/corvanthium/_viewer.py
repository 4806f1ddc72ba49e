"""One self-contained HTML file that shows a mesh with three.js: ``Solid.show``."""

from __future__ import annotations

import json
import os
from importlib import resources

from corvanthium._mesh import Mesh


def _asset(name: str) -> str:
    return resources.files("corvanthium").joinpath("viewer", name).read_text(encoding="utf-8")


def _inline(script: str) -> str:
    """Script text safe inside a <script> element."""
    return script.replace("</script", "<\\/script")


def page_of_mesh(mesh: Mesh, title: str = "corvanthium") -> str:
    """The HTML text: the page, three.js, its orbit controls and the mesh's data in one file."""
    data = json.dumps(
        {
            "positions": [float(x) for x in mesh.vertices.reshape(-1)],
            "indices": [int(i) for i in mesh.faces.reshape(-1)],
        },
        separators=(",", ":"),
    )
    page = _asset("page.html")
    parts = {
        "@TITLE@": title.replace("&", "&amp;").replace("<", "&lt;"),
        "@THREE@": _inline(_asset("three.min.js")),
        "@CONTROLS@": _inline(_asset("OrbitControls.js")),
        "@DATA@": _inline(data),
    }
    for key, value in parts.items():
        head, _, tail = page.partition(key)
        page = head + value + tail
    return page


def show_mesh(mesh: Mesh, path: str | os.PathLike[str]) -> str:
    """Writes the viewer page of mesh to path; returns the path as a str."""
    with open(path, "w", encoding="utf-8") as f:
        f.write(page_of_mesh(mesh, title=os.path.basename(os.fspath(path))))
    return os.fspath(path)
