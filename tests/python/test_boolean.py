"""Booleans through the Python surface: box entry points, PySolid.boolean,
deep trees and memory use."""

import os
import threading
from fractions import Fraction

import pytest
from hypothesis import given, settings
from hypothesis import strategies as st

import corvanthium_rs as cr
from helpers import panic_of, text


def box_op(op, t=("1", "1", "1")):
    return cr.box_boolean("2", "2", "2", "2", "2", "2", *t, op)


@pytest.mark.parametrize(
    "t, op, volume",
    [
        (("1", "1", "1"), "union", "90/1"),
        (("1", "1", "1"), "cut", "42/1"),
        (("1", "1", "1"), "intersect", "6/1"),
        (("10", "0", "0"), "union", "96/1"),
        (("10", "0", "0"), "cut", "48/1"),
        (("10", "0", "0"), "intersect", "0/1"),
    ],
)
def test_box_boolean_volumes(t, op, volume):
    result = box_op(op, t)
    assert isinstance(result, tuple) and len(result) == 2
    assert result[0] == volume


def test_box_boolean_texts():
    _, inter_canon = box_op("intersect")
    assert inter_canon == cr.make_box("1", "1", "1", "u").translate("1", "1", "1").canonical()
    assert box_op("intersect", ("10", "0", "0")) == ("0/1", "")
    # Identical boxes: union and intersect are the box, cut is empty.
    same = ("0", "0", "0")
    assert box_op("union", same) == box_op("intersect", same) == cr.box_form("2", "2", "2")
    assert box_op("cut", same) == ("0/1", "")
    assert cr.box_form("1", "2", "3")[0] == "36/1"
    assert cr.box_form("1/2", "1", "1")[0] == "3/1"


@pytest.mark.parametrize("op", ["Union", "", "CUT", "intersect "])
def test_unknown_op_panics(op):
    assert "unknown op" in str(panic_of(box_op, op))
    a = cr.make_box("1", "1", "1", "a")
    assert "unknown op" in str(panic_of(a.boolean, op, a))


def test_bad_number_text_panics():
    panic_of(cr.box_boolean, "1.5", "1", "1", "1", "1", "1", "0", "0", "0", "union")
    panic_of(cr.box_form, "1", "1/0", "1")


def test_empty_and_flat_operands():
    a = cr.make_box("2", "2", "2", "a")
    empty = cr.make_box("0", "0", "1", "e")  # two zero sizes: no faces at all
    assert empty.canonical() == ""
    for op in ("union", "intersect"):
        assert a.boolean(op, empty).canonical() == a.canonical()
        assert empty.boolean(op, a).canonical() == a.canonical()
    assert a.boolean("cut", empty).volume6_str() == "48/1"
    assert empty.boolean("cut", a).volume6_str() == "-48/1"
    # Flattened to a point, every face has the zero plane; such an operand
    # swallows whatever its tree clips.
    flat = cr.make_box("1", "1", "1", "f").scale("0", "0", "0")
    assert a.boolean("union", flat).canonical() == ""
    # The operands themselves never change.
    assert a.volume6_str() == "48/1"


rationals = st.fractions(min_value=-3, max_value=3, max_denominator=6)
sizes = st.fractions(min_value=Fraction(1, 6), max_value=3, max_denominator=6)


@settings(max_examples=60, deadline=None)
@given(st.tuples(sizes, sizes, sizes), st.tuples(sizes, sizes, sizes), st.tuples(rationals, rationals, rationals))
def test_inclusion_exclusion_on_boxes(d, e, t):
    args = [text(q) for q in (*d, *e, *t)]
    vol = {op: Fraction(cr.box_boolean(*args, op)[0]) for op in ("union", "cut", "intersect")}
    va = 6 * d[0] * d[1] * d[2]
    vb = 6 * e[0] * e[1] * e[2]
    overlap = 6
    for k in range(3):
        overlap *= max(Fraction(0), min(d[k], t[k] + e[k]) - max(Fraction(0), t[k]))
    assert vol["intersect"] == overlap
    assert vol["union"] + vol["intersect"] == va + vb
    assert vol["cut"] == va - vol["intersect"]


@pytest.fixture(scope="module")
def slabs():
    """1024 unit slabs [0,1]^2 x [2k, 2k+1] in one solid, by doubling disjoint
    unions; the polygons come out bottom to top, so a tree built from them is
    a chain about two thousand nodes deep."""
    stack = cr.make_box("1", "1", "1", "s")
    n = 1
    while n < 1024:
        stack = stack.boolean("union", stack.translate("0", "0", str(2 * n)))
        n *= 2
    assert stack.volume6_str() == f"{6 * n}/1"
    return stack, n


def column_minus(slabs):
    stack, n = slabs
    column = cr.make_box("1", "1", str(2 * n), "c")
    return column.boolean("cut", stack).volume6_str()


def test_deep_trees_on_main_thread_and_small_stack_thread(slabs):
    n = slabs[1]
    assert column_minus(slabs) == f"{6 * n}/1"
    # Again on a thread with the smallest stack allowed (32 KiB): a walk or a
    # destructor that recursed once per tree level would overflow it.
    results = []
    old = threading.stack_size(32 * 1024)
    try:
        worker = threading.Thread(target=lambda: results.append(column_minus(slabs)))
        worker.start()
    finally:
        threading.stack_size(old)
    worker.join()
    assert results == [f"{6 * n}/1"]


def resident_kib():
    with open("/proc/self/statm") as f:
        pages = int(f.read().split()[1])
    return pages * os.sysconf("SC_PAGE_SIZE") // 1024


def test_repeated_box_booleans_keep_memory_flat():
    ops = ["union", "cut", "intersect", "bogus"]

    def burst(n):
        for i in range(n):
            op = ops[i % 4]
            try:
                cr.box_boolean("2", "2", "2", "2", "2", "2", "1", "1/2", "1/3", op)
            except BaseException as exc:
                assert op == "bogus" and type(exc).__name__ == "PanicException"
            if i % 97 == 0:
                try:
                    cr.box_boolean("2", "2", "2", "2", "x", "2", "1", "1", "1", "cut")
                except BaseException as exc:
                    assert type(exc).__name__ == "PanicException"

    burst(1000)  # warm up the allocator
    before = resident_kib()
    burst(10000)
    grown = resident_kib() - before
    assert grown < 2048, f"resident memory grew by {grown} KiB"


def test_chains_of_results_agree_with_fresh_copies():
    """A Boolean's result remembers how its polygons lay out as a tree, and
    the next Boolean on it uses that; a copy made by moving it nowhere does
    not remember. Chains of every operation must come out the same both ways."""
    outline = ["0", "0", "3/4", "0", "3/4", "1/2", "1/4", "3/4"]
    tools = [("cut", cr.make_prism(outline, "2", "h").translate(f"{i}/2", f"{i % 3}/3", "-1/2")) for i in range(6)] + [
        ("union", cr.make_box("1", "1/2", "1", "u").translate("1/3", "1/4", "1/2")),
        ("intersect", cr.make_box("4", "4", "3/4", "i").translate("-1", "-1", "0")),
        ("union", cr.make_box("1/2", "3", "1/2", "v").translate("2", "0", "0")),
        ("cut", cr.make_box("1", "1", "1", "c").translate("5/2", "1", "1/4")),
    ]
    kept = cr.make_box("4", "3", "1", "plate")
    fresh = kept
    for op, tool in tools:
        kept = kept.boolean(op, tool)
        fresh = fresh.translate("0", "0", "0").boolean(op, tool.translate("0", "0", "0"))
        assert kept.canonical() == fresh.canonical()
        assert kept.volume6_str() == fresh.volume6_str()
    # The tool side too: a result as the other operand.
    assert kept.boolean("union", kept).canonical() == fresh.boolean("union", fresh.translate("0", "0", "0")).canonical()
