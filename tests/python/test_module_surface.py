"""The Python surface of corvanthium_rs: registration, the PySolid class,
argument binding and conversion, results and failures."""

import importlib
import inspect
import math
import sys
import weakref
from fractions import Fraction

import pytest

import corvanthium_rs as cr
from helpers import panic_of, raises_panic

FUNCTION_SIGNATURES = {
    "make_box": "(dx, dy, dz, prefix)",
    "make_prism": "(loop_flat, h, prefix)",
    "make_prismatoid": "(bottom, z0, top, z1, prefix)",
    "box_boolean": "(dx, dy, dz, ex, ey, ez, tx, ty, tz, op)",
    "box_form": "(dx, dy, dz)",
    "nurbs_curve_eval": "(degree, cps, knots, t, weights=None)",
    "nurbs_surface_eval": "(pu, pv, net, ku, kv, u, v, weights=None)",
    "ssi_pairs": "(net_a, net_b, depth, a_box=None, b_box=None)",
}

METHOD_SIGNATURES = {
    "translate": "($self, x, y, z)",
    "scale": "($self, fx, fy, fz)",
    "mirror": "($self, axis)",
    "rotate_quarter": "($self, axis, quarters)",
    "boolean": "($self, op, other)",
    "chamfer": "($self, dist)",
    "volume": "($self)",
    "volume6_str": "($self)",
    "canonical": "($self)",
    "watertight_ok": "($self)",
    "logical_faces": "($self)",
    "bbox": "($self)",
}

SSI_DOC = (
    "Subdivision detection: returns surviving leaf-pair parameter boxes\n"
    "(au0,au1,av0,av1,bu0,bu1,bv0,bv1) as exact rational strings. Empty\n"
    "result = certified non-intersection. Clustering/refinement stay in\n"
    "Python (they are not the hot loop)."
)

UNIT_CUBE_CANONICAL = (
    "0/1,0/1,0/1|0/1,0/1,1/1|0/1,1/1,0/1|0/1,1/1,1/1;"
    "0/1,0/1,0/1|0/1,0/1,1/1|1/1,0/1,0/1|1/1,0/1,1/1;"
    "0/1,0/1,0/1|0/1,1/1,0/1|1/1,0/1,0/1|1/1,1/1,0/1;"
    "0/1,0/1,1/1|0/1,1/1,1/1|1/1,0/1,1/1|1/1,1/1,1/1;"
    "0/1,1/1,0/1|0/1,1/1,1/1|1/1,1/1,0/1|1/1,1/1,1/1;"
    "1/1,0/1,0/1|1/1,0/1,1/1|1/1,1/1,0/1|1/1,1/1,1/1"
)


def box(dx="1", dy="1", dz="1", prefix="p"):
    return cr.make_box(dx, dy, dz, prefix)


# ---------------------------------------------------------------- registration


def test_module_contents_in_order():
    assert cr.__all__ == ["PySolid", *FUNCTION_SIGNATURES]
    assert all(hasattr(cr, name) for name in cr.__all__)
    assert cr.__doc__ == ""


def test_reimport_returns_the_same_module():
    first = sys.modules.pop("corvanthium_rs")
    try:
        again = importlib.import_module("corvanthium_rs")
        assert again is first
        assert again.PySolid is first.PySolid
    finally:
        sys.modules["corvanthium_rs"] = first


def test_sub_interpreter_import_is_refused():
    interpreters = pytest.importorskip("_xxsubinterpreters")
    import os

    path = [os.path.dirname(os.path.abspath(cr.__file__)), *sys.path]
    interp = interpreters.create()
    try:
        with pytest.raises(interpreters.RunFailedError) as info:
            interpreters.run_string(interp, f"import sys\nsys.path[:0] = {path!r}\nimport corvanthium_rs\n")
        assert "ImportError" in str(info.value)
        assert "sub-interpreters" in str(info.value)
    finally:
        interpreters.destroy(interp)
    assert box().volume6_str() == "6/1"


# --------------------------------------------------------------- PySolid class


def test_pysolid_has_no_constructor():
    for args, kwargs in [((), {}), (("1",), {}), ((), {"x": 1})]:
        with pytest.raises(TypeError) as info:
            cr.PySolid(*args, **kwargs)
        assert str(info.value) == "No constructor defined for PySolid"


def test_pysolid_is_a_plain_final_class():
    assert cr.PySolid.__name__ == "PySolid"
    assert cr.PySolid.__module__ == "corvanthium_rs"
    assert cr.PySolid.__bases__ == (object,)
    assert cr.PySolid.__doc__ is None
    with pytest.raises(TypeError):
        type("Sub", (cr.PySolid,), {})
    s = box()
    assert not hasattr(s, "__dict__")
    with pytest.raises(AttributeError):
        s.label = "x"
    with pytest.raises(TypeError):
        weakref.ref(s)
    # identity comparison and hashing, as for a plain object
    t = box()
    assert s == s and s != t and hash(s) != hash(t)
    own = {name for name in vars(cr.PySolid) if not name.startswith("__")}
    assert own == set(METHOD_SIGNATURES)
    assert [n for n in vars(cr.PySolid) if n in METHOD_SIGNATURES] == list(METHOD_SIGNATURES)


def test_methods_reject_a_foreign_self():
    with pytest.raises(TypeError):
        cr.PySolid.volume(5)
    with pytest.raises(TypeError):
        cr.PySolid.translate("not a solid", "1", "1", "1")


# ------------------------------------------------------------ PanicException


def test_panic_exception_class():
    first = panic_of(lambda: box().mirror(3))
    second = panic_of(lambda: box("x"))
    cls = type(first)
    assert type(second) is cls
    assert cls.__bases__ == (BaseException,)
    assert not issubclass(cls, Exception)
    assert cls.__module__ != "corvanthium_rs" and "." in f"{cls.__module__}.{cls.__name__}"
    assert cls.__doc__
    assert "PanicException" not in vars(cr)
    assert len(first.args) == 1 and isinstance(first.args[0], str) and first.args[0]


def test_panic_is_not_caught_by_except_exception():
    caught_by = None
    try:
        try:
            box("1/0")
        except Exception:
            caught_by = "Exception"
    except BaseException:
        caught_by = "BaseException"
    assert caught_by == "BaseException"


# -------------------------------------------------------- text signatures


@pytest.mark.parametrize("name", FUNCTION_SIGNATURES)
def test_function_text_signature(name):
    function = getattr(cr, name)
    assert function.__text_signature__ == FUNCTION_SIGNATURES[name]
    assert str(inspect.signature(function)) == FUNCTION_SIGNATURES[name]
    assert function.__doc__ == (SSI_DOC if name == "ssi_pairs" else None)


@pytest.mark.parametrize("name", METHOD_SIGNATURES)
def test_method_text_signature(name):
    method = getattr(cr.PySolid, name)
    assert method.__text_signature__ == METHOD_SIGNATURES[name]
    assert method.__doc__ is None
    bound = str(inspect.signature(getattr(box(), name)))
    assert bound == "(" + METHOD_SIGNATURES[name][1:-1].replace("$self", "").lstrip(", ") + ")"


def test_no_argument_methods_take_no_arguments():
    s = box()
    for name, sig in METHOD_SIGNATURES.items():
        if sig == "($self)":
            with pytest.raises(TypeError, match="takes no arguments"):
                getattr(s, name)(1)
            with pytest.raises(TypeError, match="takes no keyword arguments"):
                getattr(s, name)(x=1)


# --------------------------------------------------------- argument binding


def reference_callables():
    """Python functions and methods with the same signatures, whose binding
    errors are the model for the module's."""
    ns = {}
    for name, sig in FUNCTION_SIGNATURES.items():
        exec(f"def {name}{sig}: pass", ns)
    body = "".join(f"    def {n}{s.replace('$self', 'self')}: pass\n" for n, s in METHOD_SIGNATURES.items())
    exec("class PySolid:\n" + body, ns)
    return ns


def bad_calls(sig):
    """Argument patterns that every binder must refuse, for a signature."""
    params = [p for p in sig.strip("()").replace("$self", "").split(",") if p.strip()]
    names = [p.strip().split("=")[0] for p in params]
    required = [n for n, p in zip(names, params) if "=" not in p]
    calls = [(("1",) * (len(names) + 1), {}), (("1",) * (len(names) + 2), {"bogus": "1"})]
    calls.append(((), {**{n: "1" for n in required}, "bogus": "1"}))
    if required:
        calls.append(((), {}))
        calls.append((("1",), {names[0]: "1"}))
        calls.append((("1",) * (len(names) + 1), {names[0]: "1"}))
    if len(required) >= 2:
        calls.append(((), {required[-1]: "1"}))
    if len(required) >= 3:
        calls.append((("1",), {required[-1]: "1"}))
    return calls


@pytest.mark.parametrize("name", FUNCTION_SIGNATURES)
def test_function_binding_errors_match_python(name):
    model = reference_callables()[name]
    for args, kwargs in bad_calls(FUNCTION_SIGNATURES[name]):
        with pytest.raises(TypeError) as expected:
            model(*args, **kwargs)
        with pytest.raises(TypeError) as got:
            getattr(cr, name)(*args, **kwargs)
        assert str(got.value) == str(expected.value), (args, kwargs)


@pytest.mark.parametrize("name", [n for n, s in METHOD_SIGNATURES.items() if s != "($self)"])
def test_method_binding_errors_match_python(name):
    model = getattr(reference_callables()["PySolid"](), name)
    for args, kwargs in bad_calls(METHOD_SIGNATURES[name]):
        with pytest.raises(TypeError) as expected:
            model(*args, **kwargs)
        with pytest.raises(TypeError) as got:
            getattr(box(), name)(*args, **kwargs)
        assert str(got.value) == str(expected.value), (args, kwargs)


def test_binding_error_wordings():
    s = box()
    cases = [
        (lambda: cr.make_box("1", "2", "3"), "make_box() missing 1 required positional argument: 'prefix'"),
        (lambda: cr.make_box(), "make_box() missing 4 required positional arguments: 'dx', 'dy', 'dz', and 'prefix'"),
        (lambda: cr.make_box("1", "1", "1", "p", dx="1"), "make_box() got multiple values for argument 'dx'"),
        (lambda: cr.make_box("1", "1", "1", "p", x="1"), "make_box() got an unexpected keyword argument 'x'"),
        (lambda: cr.make_box("1", "1", "1", "p", "q"), "make_box() takes 4 positional arguments but 5 were given"),
        (lambda: cr.ssi_pairs(1, 2, 3, 4, 5, 6), "ssi_pairs() takes from 3 to 5 positional arguments but 6 were given"),
        (lambda: s.mirror(), "PySolid.mirror() missing 1 required positional argument: 'axis'"),
    ]
    for call, message in cases:
        with pytest.raises(TypeError) as info:
            call()
        assert str(info.value) == message


def test_keyword_calls_in_any_order():
    a = cr.make_box(dz="3", dy="2", dx="1", prefix="p")
    b = cr.make_box("1", prefix="p", dz="3", dy="2")
    assert a.bbox() == b.bbox() == [0.0, 0.0, 0.0, 1.0, 2.0, 3.0]
    assert a.translate(z="1", x="2", y="3").bbox() == [2.0, 3.0, 1.0, 3.0, 5.0, 4.0]
    assert a.scale(fz="1", fy="1", fx="2").volume6_str() == "72/1"
    assert box().rotate_quarter(quarters=1, axis=2).bbox() == [-1.0, 0.0, 0.0, 0.0, 1.0, 1.0]
    assert box().mirror(axis=0).bbox() == [-1.0, 0.0, 0.0, 0.0, 1.0, 1.0]


# ------------------------------------------------------ argument conversion


def test_text_parameters_accept_only_str():
    for bad in [1, 1.0, b"1", None, ["1"], Fraction(1, 2)]:
        with pytest.raises(TypeError) as info:
            cr.make_box(bad, "1", "1", "p")
        assert str(info.value).startswith("argument 'dx': ")
    with pytest.raises(TypeError) as info:
        cr.make_box(1, 2, 3, 4)
    assert str(info.value) == "argument 'dx': 'int' object cannot be converted to 'str'"

    class Text(str):
        pass

    assert cr.make_box(Text("2"), "1", "1", Text("p")).volume6_str() == "12/1"


def test_every_parameter_converts_before_any_number_is_read():
    with pytest.raises(TypeError) as info:
        cr.make_box("1", "1", "not a number", 5)
    assert str(info.value).startswith("argument 'prefix': ")
    with raises_panic():
        cr.make_box("1", "1", "not a number", "p")
    with pytest.raises(TypeError, match="^argument 'z': "):
        box().translate("bad", "bad", None)


def test_sequence_parameters():
    with pytest.raises(TypeError) as info:
        cr.make_prism("0,0", "1", "p")
    assert str(info.value) == "argument 'loop_flat': Can't extract `str` to `Vec`"
    with pytest.raises(TypeError, match="^argument 'loop_flat': 'int' object cannot be converted to 'str'$"):
        cr.make_prism(["0", 0], "1", "p")
    with pytest.raises(TypeError, match="^argument 'loop_flat': 'int' object cannot be converted to 'Sequence'$"):
        cr.make_prism(5, "1", "p")
    with pytest.raises(TypeError, match="^argument 'top': "):
        cr.make_prismatoid(["0"], "0", {"a": 1}, "1", "p")
    # an inner str where a row is expected
    with pytest.raises(TypeError, match="^argument 'cps': Can't extract `str` to `Vec`$"):
        cr.nurbs_curve_eval(1, ["0,0,0"], ["0"], "0")
    with pytest.raises(TypeError, match="^argument 'net_b': "):
        cr.ssi_pairs([[["0"]]], [["0"]], 0)
    with pytest.raises(TypeError, match="^argument 'weights': "):
        cr.nurbs_curve_eval(1, [], [], "0", weights="1")
    with pytest.raises(TypeError, match="^argument 'b_box': "):
        cr.ssi_pairs([], [], 0, None, [1])


def test_unsigned_and_signed_parameters():
    s = box()
    with pytest.raises(OverflowError):
        s.mirror(-1)
    with pytest.raises(OverflowError):
        s.mirror(2**64)
    with pytest.raises(OverflowError):
        s.rotate_quarter(0, 2**63)
    with pytest.raises(OverflowError):
        s.rotate_quarter(0, -(2**63) - 1)
    with pytest.raises(TypeError) as info:
        s.mirror("x")
    assert str(info.value).startswith("argument 'axis': ")
    with pytest.raises(TypeError, match="^argument 'axis': "):
        s.mirror(1.0)
    with pytest.raises(TypeError, match="^argument 'quarters': "):
        s.rotate_quarter(0, "1")

    class Index:
        def __init__(self, v):
            self.v = v

        def __index__(self):
            return self.v

    assert s.mirror(Index(1)).bbox() == s.mirror(1).bbox()
    assert s.rotate_quarter(Index(2), Index(-1)).bbox() == s.rotate_quarter(2, 3).bbox()
    assert s.rotate_quarter(2**64 - 1, -(2**63)).canonical() == s.rotate_quarter(0, 0).canonical()
    with pytest.raises(OverflowError):
        s.mirror(Index(-2))


def test_type_error_from_conversion_keeps_its_cause():
    root = KeyError("root")

    class Caused:
        def __index__(self):
            raise TypeError("no index here") from root

    class Plain:
        def __index__(self):
            raise TypeError("plain")

    with pytest.raises(TypeError) as info:
        box().mirror(Caused())
    assert str(info.value) == "argument 'axis': no index here"
    assert info.value.__cause__ is root
    with pytest.raises(TypeError) as info:
        box().mirror(Plain())
    assert str(info.value) == "argument 'axis': plain"
    assert info.value.__cause__ is None

    class Failing:
        def __index__(self):
            raise ZeroDivisionError("not a TypeError")

    with pytest.raises(ZeroDivisionError, match="^not a TypeError$"):
        box().mirror(Failing())


def test_lone_surrogate_is_an_encoding_error():
    with pytest.raises(UnicodeEncodeError):
        cr.make_box("1", "1", "1", "\ud800")


def test_other_must_be_a_solid():
    s = box()
    with pytest.raises(TypeError) as info:
        s.boolean("union", 5)
    assert str(info.value) == "argument 'other': 'int' object cannot be converted to 'PySolid'"
    with pytest.raises(TypeError, match="^argument 'op': "):
        s.boolean(5, s)


# ------------------------------------------------------------- results


def test_unit_cube_measures():
    s = box(prefix="anything")
    assert s.canonical() == UNIT_CUBE_CANONICAL and len(UNIT_CUBE_CANONICAL) == 287
    assert s.volume6_str() == "6/1"
    assert s.volume() == 1.0
    assert s.bbox() == [0.0, 0.0, 0.0, 1.0, 1.0, 1.0]


def test_box_1_2_3_result_types():
    s = cr.make_box("1", "2", "3", "b")
    assert type(s) is cr.PySolid
    assert s.volume6_str() == "36/1"
    v = s.volume()
    assert type(v) is float and v == 6.0
    bb = s.bbox()
    assert type(bb) is list and all(type(x) is float for x in bb)
    assert bb == [0.0, 0.0, 0.0, 1.0, 2.0, 3.0]


def test_rotations():
    s = box()
    assert s.rotate_quarter(2, 1).bbox() == [-1.0, 0.0, 0.0, 0.0, 1.0, 1.0]
    for q in (0, 4, -4):
        assert s.rotate_quarter(2, q).canonical() == s.canonical()
    assert s.rotate_quarter(2, -1).canonical() == s.rotate_quarter(2, 3).canonical()
    assert s.rotate_quarter(5, 1).canonical() == s.rotate_quarter(2, 1).canonical()
    assert s.rotate_quarter(0, 1).bbox() == [0.0, -1.0, 0.0, 1.0, 0.0, 1.0]


def test_mirror_and_scale_volume_rules():
    s = cr.make_box("1", "2", "3", "b")
    for axis in (0, 1, 2):
        assert s.mirror(axis).volume6_str() == "36/1"
    assert s.scale("-1", "1", "1").volume6_str() == "36/1"
    assert s.scale("2", "3", "4").volume6_str() == str(36 * 24) + "/1"
    flat = s.scale("1", "1", "0")
    assert flat.volume6_str() == "0/1"
    assert flat.bbox() == [0.0, 0.0, 0.0, 1.0, 2.0, 0.0]
    # bottom and top now coincide; the four sides are kept as zero-area polygons
    assert len(flat.canonical().split(";")) == 5
    assert s.translate("5", "-7", "1/3").translate("-5", "7", "-1/3").canonical() == s.canonical()


def test_operands_are_left_unchanged():
    s = cr.make_box("1", "2", "3", "b")
    before = s.canonical()
    s.translate("1", "1", "1"), s.scale("2", "2", "2"), s.mirror(0), s.rotate_quarter(1, 1)
    assert s.canonical() == before


def test_failures_of_the_kernel():
    with raises_panic():
        box().mirror(3)
    empty = cr.make_box("0", "0", "1", "e")
    assert empty.volume6_str() == "0/1" and empty.canonical() == ""
    assert empty.mirror(7).canonical() == ""
    with raises_panic():
        empty.bbox()


# --------------------------------------------------------- number texts


def corner_text(text):
    """Text of the x coordinate a number text becomes, via translate and canonical."""
    moved = box().translate(text, "0", "0")
    xs = set()
    for key in moved.canonical().split(";"):
        for point in key.split("|"):
            x, y, z = point.split(",")
            if y == "0/1" and z == "0/1":
                xs.add(x)
    return min(xs, key=Fraction), moved


@pytest.mark.parametrize(
    "text, value",
    [
        ("7/2/5", Fraction(7)),
        ("-6/-4", Fraction(3, 2)),
        ("1_5/3", Fraction(5)),
        ("2/4", Fraction(1, 2)),
        ("0/7", Fraction(0)),
        ("+2/+4", Fraction(1, 2)),
        ("007", Fraction(7)),
        ("-0", Fraction(0)),
        ("1234567890123456789012345678901234567891/7", Fraction(1234567890123456789012345678901234567891, 7)),
        ("-9999999999999999999999999999999999999999", Fraction(-9999999999999999999999999999999999999999)),
    ],
)
def test_number_texts_round_trip(text, value):
    x, moved = corner_text(text)
    assert Fraction(x) == value
    assert x == f"{value.numerator}/{value.denominator}"
    assert moved.bbox()[0] == float(value)


@pytest.mark.parametrize(
    "text", ["", "/", "1/", "/2", " 1", "1 ", "1.5", "1e3", "0x10", "++1", "-+1", "_1", "1/0", "0/0", "5/-0", "a"]
)
def test_malformed_number_texts_panic(text):
    with raises_panic():
        box(text)
    with raises_panic():
        box().translate("0", text, "0")
    with raises_panic():
        box().scale("1", "1", text)
    # the module stays usable
    assert box().volume6_str() == "6/1"


def test_huge_values_become_infinite_floats():
    huge = "1" + "0" * 400
    s = box(huge)
    assert s.volume() == math.inf
    assert s.bbox()[3] == math.inf
    assert s.volume6_str() == "6" + "0" * 400 + "/1"
    assert box("-" + huge).volume() == -math.inf
    assert box("1/" + huge).volume() == 0.0


def test_every_function_and_method_returns_its_result_type():
    s = box()
    calls = [
        (lambda: cr.box_form("1", "2", "3"), tuple),
        (lambda: cr.box_boolean("2", "2", "2", "2", "2", "2", "1", "1", "1", "union"), tuple),
        (lambda: cr.make_prism(["0", "0", "1", "0", "1", "1", "0", "1"], "1", "p"), cr.PySolid),
        (
            lambda: cr.make_prismatoid(["0", "0", "1", "0", "1", "1"], "0", ["0", "0", "1", "0", "1", "1"], "1", "p"),
            cr.PySolid,
        ),
        (lambda: cr.nurbs_curve_eval(1, [["0", "0", "0"], ["1", "1", "1"]], ["0", "0", "1", "1"], "1/2"), list),
        (lambda: cr.ssi_pairs([[["0", "0", "0"]]], [[["0", "0", "0"]]], 1), list),
        (lambda: s.boolean("union", s), cr.PySolid),
        (lambda: s.chamfer("1/10"), cr.PySolid),
        (lambda: s.watertight_ok(), bool),
        (lambda: s.logical_faces(), int),
    ]
    for call, result_type in calls:
        result = call()
        assert type(result) is result_type
        if result_type is tuple:
            assert len(result) == 2 and all(type(t) is str for t in result)
    assert box().volume6_str() == "6/1"
