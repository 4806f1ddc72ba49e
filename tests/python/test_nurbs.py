"""NURBS curve and surface points against hand values and an independent
de Boor evaluation in fractions.Fraction."""

from fractions import Fraction

from hypothesis import given, settings
from hypothesis import strategies as st

import corvanthium_rs as cr
from helpers import panic_of, text

LINE = [["0", "0", "0"], ["1", "2", "3"]]
LINE_KNOTS = ["0", "0", "1", "1"]


def test_curve_examples():
    assert cr.nurbs_curve_eval(1, LINE, LINE_KNOTS, "1/2", ["1", "2"]) == ["2/3", "4/3", "2/1"]
    assert cr.nurbs_curve_eval(1, LINE, LINE_KNOTS, "1/2") == ["1/2", "1/1", "3/2"]
    assert cr.nurbs_curve_eval(1, LINE, LINE_KNOTS, "1/2", None) == ["1/2", "1/1", "3/2"]
    assert cr.nurbs_curve_eval(0, [["2/4", "0", "0"]], ["0", "1"], "0") == ["1/2", "0/1", "0/1"]
    # Surplus weights are ignored; missing weights drop control points.
    assert cr.nurbs_curve_eval(1, LINE, LINE_KNOTS, "1/2", ["1", "2", "7"]) == ["2/3", "4/3", "2/1"]
    three = LINE + [["9", "9", "9"]]
    assert cr.nurbs_curve_eval(1, three, LINE_KNOTS, "1/2", ["1", "2"]) == ["2/3", "4/3", "2/1"]


def test_curve_ends_and_knot_multiplicity():
    cps = [["1", "0", "0"], ["2", "3", "0"], ["5", "1", "4"], ["0", "2", "2"], ["7", "7", "7"]]
    knots = ["0", "0", "0", "1", "1", "2", "2", "2"]
    # Clamped ends return the end points exactly, whatever the weights.
    assert cr.nurbs_curve_eval(2, cps, knots, "0", ["3", "1", "1", "1", "5"]) == ["1/1", "0/1", "0/1"]
    assert cr.nurbs_curve_eval(2, cps, knots, "2", ["3", "1", "1", "1", "5"]) == ["7/1", "7/1", "7/1"]
    # A double interior knot in a quadratic: the curve passes through the point
    # at the start of the right-hand span.
    assert cr.nurbs_curve_eval(2, cps, knots, "1", ["1", "1", "4", "1", "1"]) == ["5/1", "1/1", "4/1"]
    # Degree 0 picks the control point whose knot interval holds t.
    pts = [[str(i), "0", "0"] for i in range(4)]
    k0 = ["0", "1", "2", "3", "4"]
    assert [cr.nurbs_curve_eval(0, pts, k0, t)[0] for t in ["-1", "0", "3/2", "2", "4", "9"]] == [
        "0/1",
        "0/1",
        "1/1",
        "2/1",
        "3/1",
        "3/1",
    ]


def test_curve_failures():
    panic_of(cr.nurbs_curve_eval, 1, LINE, LINE_KNOTS, "1/2", ["1", "-1"])
    panic_of(cr.nurbs_curve_eval, 1, LINE, LINE_KNOTS, "1/0")
    panic_of(cr.nurbs_curve_eval, 1, [], LINE_KNOTS, "1/2")
    panic_of(cr.nurbs_curve_eval, 2, LINE, LINE_KNOTS, "1/2")
    panic_of(cr.nurbs_curve_eval, 1, LINE, ["0", "0"], "1/2")
    panic_of(cr.nurbs_curve_eval, 2**64 - 1, LINE, LINE_KNOTS, "1/2")
    panic_of(cr.nurbs_curve_eval, 1, [["0", "0"], ["1", "2"]], LINE_KNOTS, "1/2")
    panic_of(cr.nurbs_curve_eval, 1, [["0", "0", "0", "1"], ["1", "2", "3", "1"]], LINE_KNOTS, "1/2")
    # The module stays usable after a failure.
    assert cr.nurbs_curve_eval(1, LINE, LINE_KNOTS, "1") == ["1/1", "2/1", "3/1"]


SADDLE = [[["0", "0", "0"], ["0", "1", "0"]], [["1", "0", "0"], ["1", "1", "1"]]]


def test_surface_examples_and_failures():
    assert cr.nurbs_surface_eval(1, 1, SADDLE, LINE_KNOTS, LINE_KNOTS, "1/2", "1/3") == ["1/2", "1/3", "1/6"]
    w = [["1", "1"], ["1", "3"]]
    assert cr.nurbs_surface_eval(1, 1, SADDLE, LINE_KNOTS, LINE_KNOTS, "1/2", "1/2", w) == ["2/3", "2/3", "1/2"]
    net = [[["1", "2", "3"], ["4", "5", "6"]], [["7", "8", "9"], ["10/4", "11", "12"]]]
    assert cr.nurbs_surface_eval(0, 0, net, ["0", "1", "2"], ["0", "1", "2"], "1", "1", [["1", "2"], ["3", "-5"]]) == [
        "5/2",
        "11/1",
        "12/1",
    ]
    panic_of(cr.nurbs_surface_eval, 1, 1, SADDLE, LINE_KNOTS, LINE_KNOTS, "1/2", "1/2", [["1", "1"]])
    panic_of(cr.nurbs_surface_eval, 1, 1, SADDLE, LINE_KNOTS, LINE_KNOTS, "1/2", "1/2", [["1", "1"], ["1"]])
    panic_of(cr.nurbs_surface_eval, 1, 1, SADDLE, LINE_KNOTS, LINE_KNOTS, "1/2", "1/2", [["1", "1"], ["-1", "-1"]])
    panic_of(cr.nurbs_surface_eval, 2**64 - 1, 1, SADDLE, LINE_KNOTS, LINE_KNOTS, "1/2", "1/2")
    panic_of(cr.nurbs_surface_eval, 1, 2**64 - 1, SADDLE, LINE_KNOTS, LINE_KNOTS, "1/2", "1/2")
    panic_of(cr.nurbs_surface_eval, 1, 1, [], LINE_KNOTS, LINE_KNOTS, "1/2", "1/2")


# --- independent evaluation ------------------------------------------------


def ref_deboor(p, knots, pts, t):
    """De Boor by the textbook recurrence on Fractions, with a linear span search."""
    n = len(pts)
    if t >= knots[n]:
        k = n - 1
    elif t <= knots[p]:
        k = p
    else:
        k = max(i for i in range(p, n) if knots[i] <= t)
    d = [list(pts[k - p + j]) for j in range(p + 1)]
    for r in range(1, p + 1):
        nxt = list(d)
        for j in range(r, p + 1):
            i = k - p + j
            lo, hi = knots[i], knots[i + p + 1 - r]
            a = Fraction(0) if hi == lo else (t - lo) / (hi - lo)
            nxt[j] = [(1 - a) * x + a * y for x, y in zip(d[j - 1], d[j])]
        d = nxt
    return d[p]


def ref_point(h):
    if h[3] == 0:
        return None
    return [text(c / h[3]) for c in h[:3]]


small = st.fractions(min_value=-4, max_value=4, max_denominator=6)
weight = st.fractions(min_value=Fraction(1, 4), max_value=4, max_denominator=5) | st.fractions(
    min_value=-3, max_value=-1, max_denominator=3
)


@st.composite
def knot_vector(draw, p, n):
    steps = draw(
        st.lists(st.sampled_from([0, 0, Fraction(1, 2), 1, 2, Fraction(1, 3)]), min_size=n + p, max_size=n + p)
    )
    knots = [Fraction(0)]
    for s in steps:
        knots.append(knots[-1] + s)
    if knots[n] == knots[p]:
        knots = [k + i for i, k in enumerate(knots)]
    return knots


@st.composite
def curves(draw):
    p = draw(st.integers(0, 3))
    n = draw(st.integers(p + 1, p + 5))
    knots = draw(knot_vector(p, n))
    cps = draw(st.lists(st.lists(small, min_size=3, max_size=3), min_size=n, max_size=n))
    weights = draw(st.none() | st.lists(weight, min_size=n, max_size=n))
    t = draw(st.fractions(min_value=knots[0] - 1, max_value=knots[-1] + 1, max_denominator=12) | st.sampled_from(knots))
    return p, knots, cps, weights, t


def homog(c, w):
    return [x * w for x in c] + [w]


@settings(max_examples=150, deadline=None)
@given(curves())
def test_curve_matches_reference(case):
    p, knots, cps, weights, t = case
    ws = weights or [Fraction(1)] * len(cps)
    expected = ref_point(ref_deboor(p, knots, [homog(c, w) for c, w in zip(cps, ws)], t))
    args = (
        p,
        [[text(x) for x in c] for c in cps],
        [text(k) for k in knots],
        text(t),
        None if weights is None else [text(w) for w in weights],
    )
    if expected is None:
        panic_of(cr.nurbs_curve_eval, *args)
    else:
        assert cr.nurbs_curve_eval(*args) == expected


@st.composite
def surfaces(draw):
    pu, pv = draw(st.integers(0, 3)), draw(st.integers(0, 3))
    m, n = draw(st.integers(pu + 1, pu + 3)), draw(st.integers(pv + 1, pv + 3))
    ku, kv = draw(knot_vector(pu, m)), draw(knot_vector(pv, n))
    net = draw(
        st.lists(st.lists(st.lists(small, min_size=3, max_size=3), min_size=n, max_size=n), min_size=m, max_size=m)
    )
    weights = draw(st.none() | st.lists(st.lists(weight, min_size=n, max_size=n), min_size=m, max_size=m))
    u = draw(st.fractions(min_value=ku[0], max_value=ku[-1], max_denominator=8) | st.sampled_from(ku))
    v = draw(st.fractions(min_value=kv[0], max_value=kv[-1], max_denominator=8) | st.sampled_from(kv))
    return pu, pv, ku, kv, net, weights, u, v


@settings(max_examples=100, deadline=None)
@given(surfaces())
def test_surface_matches_reference(case):
    pu, pv, ku, kv, net, weights, u, v = case
    ws = weights or [[Fraction(1)] * len(row) for row in net]
    column = [ref_deboor(pv, kv, [homog(c, w) for c, w in zip(row, wrow)], v) for row, wrow in zip(net, ws)]
    expected = ref_point(ref_deboor(pu, ku, column, u))
    args = (
        pu,
        pv,
        [[[text(x) for x in c] for c in row] for row in net],
        [text(k) for k in ku],
        [text(k) for k in kv],
        text(u),
        text(v),
        None if weights is None else [[text(w) for w in row] for row in weights],
    )
    if expected is None:
        panic_of(cr.nurbs_surface_eval, *args)
    else:
        assert cr.nurbs_surface_eval(*args) == expected
