"""Type information for the compiled module corvanthium_rs.

Every number crosses this module's boundary as text: an integer ("3",
"-7") or a fraction ("1/2"); exact results come back as texts
"numerator/denominator". Malformed number texts and other internal failures
raise PanicException, which derives from BaseException and is not an
attribute of the module.
"""

from collections.abc import Sequence
from typing import NoReturn, SupportsIndex, final

__all__ = [
    "PySolid",
    "make_box",
    "make_prism",
    "make_prismatoid",
    "box_boolean",
    "box_form",
    "nurbs_curve_eval",
    "nurbs_surface_eval",
    "ssi_pairs",
]

@final
class PySolid:
    """An immutable solid: a list of labelled, outward-facing polygons."""

    def __new__(cls, *args: object, **kwargs: object) -> NoReturn: ...
    def translate(self, /, x: str, y: str, z: str) -> PySolid: ...
    def scale(self, /, fx: str, fy: str, fz: str) -> PySolid: ...
    def mirror(self, /, axis: SupportsIndex) -> PySolid: ...
    def rotate_quarter(self, /, axis: SupportsIndex, quarters: SupportsIndex) -> PySolid: ...
    def boolean(self, /, op: str, other: PySolid) -> PySolid: ...
    def chamfer(self, /, dist: str) -> PySolid: ...
    def volume(self, /) -> float: ...
    def volume6_str(self, /) -> str: ...
    def canonical(self, /) -> str: ...
    def watertight_ok(self, /) -> bool: ...
    def logical_faces(self, /) -> int: ...
    def bbox(self, /) -> list[float]: ...

def make_box(dx: str, dy: str, dz: str, prefix: str) -> PySolid: ...
def make_prism(loop_flat: Sequence[str], h: str, prefix: str) -> PySolid: ...
def make_prismatoid(bottom: Sequence[str], z0: str, top: Sequence[str], z1: str, prefix: str) -> PySolid: ...
def box_boolean(
    dx: str, dy: str, dz: str, ex: str, ey: str, ez: str, tx: str, ty: str, tz: str, op: str
) -> tuple[str, str]: ...
def box_form(dx: str, dy: str, dz: str) -> tuple[str, str]: ...
def nurbs_curve_eval(
    degree: SupportsIndex,
    cps: Sequence[Sequence[str]],
    knots: Sequence[str],
    t: str,
    weights: Sequence[str] | None = None,
) -> list[str]: ...
def nurbs_surface_eval(
    pu: SupportsIndex,
    pv: SupportsIndex,
    net: Sequence[Sequence[Sequence[str]]],
    ku: Sequence[str],
    kv: Sequence[str],
    u: str,
    v: str,
    weights: Sequence[Sequence[str]] | None = None,
) -> list[str]: ...
def ssi_pairs(
    net_a: Sequence[Sequence[Sequence[str]]],
    net_b: Sequence[Sequence[Sequence[str]]],
    depth: SupportsIndex,
    a_box: Sequence[str] | None = None,
    b_box: Sequence[str] | None = None,
) -> list[list[str]]:
    """Subdivision detection: returns surviving leaf-pair parameter boxes
    (au0,au1,av0,av1,bu0,bu1,bv0,bv1) as exact rational strings. Empty
    result = certified non-intersection. Clustering/refinement stay in
    Python (they are not the hot loop)."""
