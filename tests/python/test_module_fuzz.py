"""Randomised calls of every function and method: each call returns or fails
with one of the documented exception classes, and conversions are exact."""

import math
from fractions import Fraction

from hypothesis import HealthCheck, given, settings
from hypothesis import strategies as st

import corvanthium_rs as cr

FAST = settings(max_examples=80, deadline=None, suppress_health_check=[HealthCheck.too_slow])
DOCUMENTED = (TypeError, OverflowError, ValueError, MemoryError)

# Parameter kinds, in declaration order, by function or method.
FUNCTIONS = {
    "make_box": ["text", "text", "text", "text"],
    "make_prism": ["texts", "text", "text"],
    "make_prismatoid": ["texts", "text", "texts", "text", "text"],
    "box_boolean": ["text"] * 10,
    "box_form": ["text"] * 3,
    "nurbs_curve_eval": ["count", "rows", "texts", "text", "opt_texts"],
    "nurbs_surface_eval": ["count", "count", "net", "texts", "texts", "text", "text", "opt_rows"],
    "ssi_pairs": ["net", "net", "count", "opt_texts", "opt_texts"],
}
METHODS = {
    "translate": ["text"] * 3,
    "scale": ["text"] * 3,
    "mirror": ["count"],
    "rotate_quarter": ["count", "signed"],
    "boolean": ["text", "solid"],
    "chamfer": ["text"],
    "volume": [],
    "volume6_str": [],
    "canonical": [],
    "watertight_ok": [],
    "logical_faces": [],
    "bbox": [],
}
PARAM_NAMES = {
    "make_box": ["dx", "dy", "dz", "prefix"],
    "make_prism": ["loop_flat", "h", "prefix"],
    "make_prismatoid": ["bottom", "z0", "top", "z1", "prefix"],
    "box_boolean": ["dx", "dy", "dz", "ex", "ey", "ez", "tx", "ty", "tz", "op"],
    "box_form": ["dx", "dy", "dz"],
    "nurbs_curve_eval": ["degree", "cps", "knots", "t", "weights"],
    "nurbs_surface_eval": ["pu", "pv", "net", "ku", "kv", "u", "v", "weights"],
    "ssi_pairs": ["net_a", "net_b", "depth", "a_box", "b_box"],
    "translate": ["x", "y", "z"],
    "scale": ["fx", "fy", "fz"],
    "mirror": ["axis"],
    "rotate_quarter": ["axis", "quarters"],
    "boolean": ["op", "other"],
    "chamfer": ["dist"],
}


class Index:
    """An object that is usable as an int through __index__ only."""

    def __init__(self, value):
        self.value = value

    def __index__(self):
        return self.value


def fraction_text(f, underscores=False):
    num, den = str(f.numerator), str(f.denominator)
    if underscores and len(num.lstrip("-")) > 1:
        sign = "-" if num.startswith("-") else ""
        digits = num.lstrip("-")
        num = sign + digits[0] + "_" + digits[1:]
    return num if den == "1" else f"{num}/{den}"


fractions = st.fractions(max_denominator=10**30).filter(lambda f: abs(f.numerator) < 10**60)
number_texts = st.one_of(
    st.builds(fraction_text, fractions, st.booleans()),
    st.from_regex(r"[-+]{0,2}[0-9_]{0,5}(/[-+]{0,2}[0-9_]{0,5}){0,2}", fullmatch=True),
    st.sampled_from(["union", "cut", "intersect", "", "/", "1/0", "1.5", " 1", "p"]),
    st.text(max_size=8),
)
leaves = st.one_of(
    st.none(),
    st.integers(-(2**70), 2**70),
    st.floats(),
    st.binary(max_size=4),
    number_texts,
    st.builds(Index, st.integers(-3, 3)),
)
objects = st.recursive(
    leaves, lambda inner: st.one_of(st.lists(inner, max_size=4), st.tuples(inner, inner)), max_leaves=12
)
# Objects safe to pass where a count is expected: a count that converts is at
# most 3 (subdivision depth and degrees stay small), or it is too large to convert.
count_objects = st.one_of(
    st.integers(-3, 3),
    st.integers(2**64, 2**70),
    st.builds(Index, st.integers(-3, 3)),
    st.none(),
    st.floats(),
    number_texts,
    st.lists(number_texts, max_size=3),
)


def safe_box(dx, dy, dz):
    try:
        return cr.make_box(dx, dy, dz, "p")
    except BaseException:  # noqa: B036 - malformed texts raise PanicException
        return cr.make_box("1", "1", "1", "p")


solids = st.builds(safe_box, number_texts, number_texts, number_texts)
points = st.lists(number_texts, min_size=2, max_size=4)
well_typed = {
    "text": number_texts,
    "texts": st.lists(number_texts, max_size=12),
    "rows": st.lists(points, max_size=5),
    "net": st.lists(st.lists(points, min_size=1, max_size=3), max_size=3),
    "count": st.integers(0, 3),
    "signed": st.integers(-(2**63), 2**63 - 1),
    "solid": solids,
    "opt_texts": st.one_of(st.none(), st.lists(number_texts, max_size=6)),
    "opt_rows": st.one_of(st.none(), st.lists(st.lists(number_texts, max_size=4), max_size=4)),
}


def argument(kind):
    """A well-typed value most of the time, any object otherwise."""
    other = count_objects if kind == "count" else objects
    return st.one_of(well_typed[kind], well_typed[kind], other)


def outcome(call):
    """What a call did: ("ok", result summary) or ("raised", class name, text)."""
    try:
        result = call()
    except DOCUMENTED as e:
        return ("raised", type(e).__name__, str(e))
    except BaseException as e:  # noqa: B036 - PanicException is a BaseException
        assert type(e).__name__ == "PanicException", repr(e)
        assert not isinstance(e, Exception)
        return ("raised", "PanicException", str(e))
    if isinstance(result, cr.PySolid):
        return ("ok", "PySolid", result.canonical())
    return ("ok", type(result).__name__, repr(result))


def check_result(name, result):
    expected = {
        "make_box": cr.PySolid,
        "make_prism": cr.PySolid,
        "make_prismatoid": cr.PySolid,
        "box_boolean": tuple,
        "box_form": tuple,
        "nurbs_curve_eval": list,
        "nurbs_surface_eval": list,
        "ssi_pairs": list,
        "translate": cr.PySolid,
        "scale": cr.PySolid,
        "mirror": cr.PySolid,
        "rotate_quarter": cr.PySolid,
        "boolean": cr.PySolid,
        "chamfer": cr.PySolid,
        "volume": float,
        "volume6_str": str,
        "canonical": str,
        "watertight_ok": bool,
        "logical_faces": int,
        "bbox": list,
    }
    assert type(result) is expected[name]
    if name in ("box_boolean", "box_form"):
        assert len(result) == 2 and all(type(t) is str for t in result)
    if name == "bbox":
        assert len(result) == 6 and all(type(x) is float for x in result)
    if name in ("nurbs_curve_eval", "nurbs_surface_eval"):
        assert all(type(t) is str for t in result)
    if name == "ssi_pairs":
        assert all(type(row) is list and len(row) == 8 and all(type(t) is str for t in row) for row in result)


def call_checked(name, function, args, kwargs):
    try:
        result = function(*args, **kwargs)
    except DOCUMENTED:
        return
    except BaseException as e:  # noqa: B036
        assert type(e).__name__ == "PanicException", repr(e)
        return
    check_result(name, result)


@st.composite
def calls(draw, table):
    name = draw(st.sampled_from(sorted(table)))
    values = [draw(argument(kind)) for kind in table[name]]
    return name, values


@FAST
@given(calls(FUNCTIONS), st.data())
def test_functions_return_or_fail_cleanly(call, data):
    name, values = call
    split = data.draw(st.integers(0, len(values)))
    names = PARAM_NAMES[name]
    call_checked(name, getattr(cr, name), values[:split], dict(zip(names[split:], values[split:])))


@FAST
@given(solids, calls(METHODS), st.data())
def test_methods_return_or_fail_cleanly(solid, call, data):
    name, values = call
    split = data.draw(st.integers(0, len(values)))
    names = PARAM_NAMES.get(name, [])
    call_checked(name, getattr(solid, name), values[:split], dict(zip(names[split:], values[split:])))
    assert solid.volume6_str()  # the operand is still usable


@FAST
@given(
    st.sampled_from(sorted(FUNCTIONS) + sorted(METHODS)),
    st.lists(objects, max_size=12),
    st.dictionaries(
        st.sampled_from(["dx", "x", "axis", "op", "net_a", "weights", "bogus", "depth_"]), objects, max_size=3
    ),
)
def test_random_argument_counts_and_keywords(name, args, kwargs):
    if "depth" in PARAM_NAMES.get(name, []) or "degree" in PARAM_NAMES.get(name, []) or name.startswith("nurbs"):
        # keep counts that could convert small
        args = [a if not isinstance(a, int) or abs(a) > 2**64 else min(abs(a), 3) for a in args]
    target = getattr(cr, name) if name in FUNCTIONS else getattr(cr.make_box("1", "1", "1", "p"), name)
    call_checked(name, target, args, kwargs)


@FAST
@given(calls(FUNCTIONS))
def test_keyword_and_positional_calls_agree(call):
    name, values = call
    function = getattr(cr, name)
    by_position = outcome(lambda: function(*values))
    by_keyword = outcome(lambda: function(**dict(zip(PARAM_NAMES[name], values))))
    assert by_position == by_keyword


def as_tuples(value):
    if isinstance(value, list):
        return tuple(as_tuples(v) for v in value)
    return value


@FAST
@given(calls(FUNCTIONS))
def test_lists_and_tuples_convert_alike(call):
    name, values = call
    function = getattr(cr, name)
    from_lists = outcome(lambda: function(*values))
    from_tuples = outcome(lambda: function(*[as_tuples(v) for v in values]))
    assert same_kind(from_lists) == same_kind(from_tuples)


def same_kind(result):
    """An outcome with the container type names in messages made alike."""
    return tuple(t.replace("'tuple' object", "'list' object") for t in result)


@FAST
@given(fractions, st.booleans())
def test_volume_and_bbox_are_correctly_rounded(f, underscores):
    s = cr.make_box(fraction_text(f, underscores), "1", "1", "p")
    assert s.volume() == float(f)
    assert s.volume6_str() == f"{(6 * f).numerator}/{(6 * f).denominator}"
    lo, hi = min(f, 0), max(f, 0)
    assert s.bbox() == [float(lo), 0.0, 0.0, float(hi), 1.0, 1.0]


@FAST
@given(st.integers(0, 10**400), st.integers(1, 10**400))
def test_huge_values_convert_like_python(num, den):
    f = Fraction(num, den)
    s = cr.make_box(f"{num}/{den}", "1", "1", "p")
    try:
        expected = float(f)
    except OverflowError:
        expected = math.inf
    assert s.volume() == expected


@FAST
@given(fractions, fractions, fractions)
def test_translate_round_trips_texts_exactly(x, y, z):
    s = cr.make_box("1", "1", "1", "p").translate(fraction_text(x), fraction_text(y), fraction_text(z))
    corner = ",".join(f"{v.numerator}/{v.denominator}" for v in (x, y, z))
    assert corner in {point for key in s.canonical().split(";") for point in key.split("|")}
    back = s.translate(fraction_text(-x), fraction_text(-y), fraction_text(-z))
    assert back.canonical() == cr.make_box("1", "1", "1", "q").canonical()
