"""The Solid of the corvanthium package: building, moving, combining,
measuring, and what it says about itself."""

import inspect
from fractions import Fraction

import pytest

import corvanthium as cv
import corvanthium_rs as cr

L_SHAPE = [(0, 0), (2, 0), (2, 1), (1, 1), (1, 2), (0, 2)]


def test_boxes_prisms_and_prismatoids_match_the_low_level_module():
    pairs = [
        (cv.box(2, "3/2", Fraction(1, 3), label="b"), cr.make_box("2", "3/2", "1/3", "b")),
        (
            cv.prism(L_SHAPE, "1/2", label="l"),
            cr.make_prism(["0", "0", "2", "0", "2", "1", "1", "1", "1", "2", "0", "2"], "1/2", "l"),
        ),
        (
            cv.prismatoid([(0, 0), (2, 0), (2, 2), (0, 2)], 0, [(0, 0), (1, 0), (1, 1), (0, 1)], 3),
            cr.make_prismatoid(
                ["0", "0", "2", "0", "2", "2", "0", "2"],
                "0",
                ["0", "0", "1", "0", "1", "1", "0", "1"],
                "3",
                "prismatoid",
            ),
        ),
    ]
    for lib, rs in pairs:
        assert lib.canonical() == rs.canonical()
        assert lib.volume * 6 == Fraction(rs.volume6_str())
        assert lib.polygon_count == len(rs.canonical().split(";"))
        assert lib.face_count == rs.logical_faces()
        assert lib.is_watertight == rs.watertight_ok()


def test_default_labels_and_keyword_only_labels():
    assert cv.box(1, 1, 1).canonical() == cr.make_box("1", "1", "1", "box").canonical()
    with pytest.raises(TypeError, match="takes 3 positional arguments but 4 were given"):
        cv.box(1, 1, 1, "b")
    with pytest.raises(TypeError, match="takes 2 positional arguments but 3 were given"):
        cv.prism(L_SHAPE, 1, "l")
    assert cv.box(1, 1, 1, label=None).volume == 1


def test_transforms_are_exact():
    b = cv.box(1, 2, 3)
    assert b.translate("1/3", -1, Fraction(1, 7)).bbox == (
        (Fraction(1, 3), -1, Fraction(1, 7)),
        (Fraction(4, 3), 1, Fraction(22, 7)),
    )
    assert b.scale(2).volume == 48
    assert b.scale(1, 2, 3).bbox[1] == (1, 4, 9)
    assert b.scale(-1, 1, 1).volume == 6  # a negative factor turns the faces round: the volume stays positive
    assert b.mirror("y").bbox == ((0, -2, 0), (1, 0, 3))
    assert b.mirror(2).bbox == b.mirror("Z").bbox == ((0, 0, -3), (1, 2, 0))
    assert b.rotate_quarter("z").bbox == ((-2, 0, 0), (0, 1, 3))
    assert b.rotate_quarter(2, quarters=4).canonical() == b.canonical()
    assert b.rotate_quarter(0, -1).canonical() == b.rotate_quarter(0, 3).canonical()
    assert b.rotate_quarter(0, 10**30 + 1).canonical() == b.rotate_quarter(0, 1).canonical()
    with pytest.raises(TypeError, match="one factor .* or three"):
        b.scale(1, 2)
    with pytest.raises(TypeError, match="one factor .* or three"):
        b.scale(1, fz=2)


def test_operators_and_methods_agree_on_every_engine_spelling():
    a = cv.box(2, 2, 2)
    b = cv.box(2, 2, 2).translate(1, 1, 1)
    assert (a | b).volume == a.union(b).volume == a.union(b, engine="bsp").volume == 15
    assert (a - b).volume == a.cut(b, engine=None).volume == 7
    assert (a & b).volume == a.intersect(b).volume == 1
    assert (a - b).canonical() == a.cut(b, engine=cv.DEFAULT_ENGINE).canonical()
    assert cv.DEFAULT_ENGINE in ("bsp", "local")
    assert a.union(b, engine="local").volume == 15 and a.union(b, engine="local").same_shape(a | b)
    for bad in ("BSP", "", "fast", 1, b"bsp"):
        with pytest.raises(ValueError, match="argument 'engine': expected None, 'bsp' or 'local'"):
            a.cut(b, engine=bad)
    with pytest.raises(TypeError, match="positional"):
        a.union(b, "bsp")
    for other in (1, "box", None):
        with pytest.raises(TypeError):
            a | other
        with pytest.raises(TypeError):
            other - a
    a_ref = a
    a_ref |= b  # in place falls back to the binary operator: a new solid
    assert a_ref.volume == 15 and a.volume == 8


def test_chamfer_is_exact_and_refusals_are_kernel_errors():
    c = cv.box(3, 2, 1).chamfer("1/10", method="cutters")
    rs = cr.make_box("3", "2", "1", "box").chamfer("1/10")
    assert c.canonical() == rs.canonical() and c.volume * 6 == Fraction(rs.volume6_str())
    slanted = cv.prism([(0, 0), (2, 0), (1, 1)], 1)
    with pytest.raises(cv.KernelError, match="non-rational face normal"):
        slanted.chamfer("1/10", method="cutters")
    empty = cv.box(1, 1, 1) & cv.box(1, 1, 1).translate(5, 0, 0)
    assert empty.polygon_count == 0 and empty.volume == 0
    with pytest.raises(cv.KernelError):
        empty.chamfer("1/10")
    with pytest.raises(cv.KernelError, match="without polygons"):
        _ = empty.bbox


def test_repr_says_what_the_solid_is():
    assert repr(cv.box(2, 2, 2)) == "Solid(6 polygons, volume 8, bbox (0, 0, 0) to (2, 2, 2))"
    assert repr(cv.box("1/2", 1, 1)) == "Solid(6 polygons, volume 1/2, bbox (0, 0, 0) to (1/2, 1, 1))"
    empty = cv.box(1, 1, 1) & cv.box(1, 1, 1).translate(5, 0, 0)
    assert repr(empty) == "Solid(0 polygons, empty)"
    long = repr(cv.box(10**100, 1, 1))
    assert "..." in long and len(long) < 200


def test_solids_cannot_be_made_or_changed_directly():
    with pytest.raises(TypeError, match="box\\(\\), prism\\(\\)"):
        cv.Solid()
    b = cv.box(1, 1, 1)
    with pytest.raises(AttributeError):
        b.volume = 3
    with pytest.raises(TypeError):
        cv.Solid.extra = 1
    with pytest.raises(TypeError):

        class Sub(cv.Solid):  # noqa: F841
            pass


def test_copies_are_equal_solids():
    import copy

    a = cv.box(1, 2, "1/3") - cv.box(1, 1, 1).translate("1/2", "1/2", "1/2")
    for b in (copy.copy(a), copy.deepcopy(a), copy.deepcopy([a, {"k": a}])[1]["k"]):
        assert type(b) is cv.Solid
        assert b.canonical() == a.canonical() and b.volume == a.volume and b.polygon_count == a.polygon_count


def test_kernel_error_is_a_value_error_of_the_package():
    assert issubclass(cv.KernelError, ValueError)
    assert cv.KernelError.__module__ == "corvanthium"
    assert cv.Solid.__module__ == "corvanthium"
    try:
        cv.box("x", 1, 1)
    except Exception as e:  # noqa: BLE001 - an ordinary handler catches it
        assert isinstance(e, cv.KernelError)


PUBLIC = [name for name in cv.__all__ if name not in ("DEFAULT_ENGINE",)]


@pytest.mark.parametrize("name", PUBLIC)
def test_every_public_name_documents_exactness_and_errors(name):
    doc = inspect.getdoc(getattr(cv, name))
    assert doc and len(doc) > 30, name
    if name not in ("KernelError", "Solid"):
        assert "exact" in doc.lower() and "Error" in doc, name


@pytest.mark.parametrize(
    "member", ["translate", "scale", "mirror", "rotate_quarter", "union", "cut", "intersect", "chamfer", "canonical"]
)
def test_every_method_has_a_signature_and_a_doc(member):
    method = getattr(cv.Solid, member)
    assert inspect.signature(method).parameters
    assert "exact" in inspect.getdoc(method).lower()


def test_signatures_show_keyword_only_parameters():
    def shape(f):
        return [(p.name, p.kind.name, p.default) for p in inspect.signature(f).parameters.values()]

    empty = inspect.Parameter.empty
    keyword = "KEYWORD_ONLY"
    assert shape(cv.box)[2:] == [("dz", "POSITIONAL_OR_KEYWORD", empty), ("label", keyword, "box")]
    assert shape(cv.Solid.union)[1:] == [("other", "POSITIONAL_OR_KEYWORD", empty), ("engine", keyword, None)]
    for prop in ("volume", "bbox", "face_count", "polygon_count", "is_watertight"):
        assert inspect.getdoc(getattr(cv.Solid, prop))


def test_nurbs_and_ssi_give_fractions():
    p = cv.nurbs_curve_point(2, [[0, 0, 0], ["1", 2, 0], [3, 1, Fraction(1, 2)]], [0, 0, 0, 1, 1, 1], "1/3")
    q = cr.nurbs_curve_eval(
        2, [["0", "0", "0"], ["1", "2", "0"], ["3", "1", "1/2"]], ["0", "0", "0", "1", "1", "1"], "1/3"
    )
    assert p == tuple(Fraction(v) for v in q) and all(type(v) is Fraction for v in p)
    w = cv.nurbs_curve_point(1, [[0, 0, 0], [1, 1, 0]], [0, 0, 1, 1], "1/2", weights=[1, 3])
    assert w == (Fraction(3, 4), Fraction(3, 4), 0)
    net = [[[0, 0, 0], [0, 1, 0]], [[1, 0, 1], [1, 1, 1]]]
    s = cv.nurbs_surface_point(1, 1, net, [0, 0, 1, 1], [0, 0, 1, 1], "1/2", "1/4")
    assert s == (Fraction(1, 2), Fraction(1, 4), Fraction(1, 2))
    flat = [[[0, 0, "1/2"], [0, 1, "1/2"]], [[1, 0, "1/2"], [1, 1, "1/2"]]]
    pairs = cv.ssi_pairs(net, flat, 3)
    rs_pairs = cr.ssi_pairs(
        [[[str(c) for c in p] for p in row] for row in net], [[[str(c) for c in p] for p in row] for row in flat], 3
    )
    assert pairs == [tuple(Fraction(v) for v in row) for row in rs_pairs]
    assert pairs and all(len(row) == 8 and type(row[0]) is Fraction for row in pairs)
    far = [[[5, 5, 5], [5, 6, 5]], [[6, 5, 5], [6, 6, 5]]]
    assert cv.ssi_pairs(net, far, 4) == []
    assert cv.ssi_pairs(net, flat, 2, a_box=[0, 1, 0, 1], b_box=["0", "1", "0", "1"]) == cv.ssi_pairs(net, flat, 2)


def test_the_solid_offers_everything_its_native_part_does():
    import corvanthium._native as native

    inner = {m for m in dir(native.NativeSolid) if not m.startswith("_")} - {"mesh_parts"}
    assert inner <= set(dir(cv.Solid))
    assert {"__or__", "__sub__", "__and__", "__reduce__", "mesh", "export", "render", "show"} <= set(dir(cv.Solid))
