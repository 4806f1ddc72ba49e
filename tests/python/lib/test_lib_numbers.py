"""Python numbers into the exact kernel and Fractions out."""

import os
import re
from decimal import Decimal
from fractions import Fraction

import numpy as np
import pytest
from hypothesis import assume, example, given, settings
from hypothesis import strategies as st

import corvanthium as cv


def width(x):
    """The value the kernel read for x, through the corner of a moved box."""
    return cv.box(1, 1, 1).translate(x, 0, 0).bbox[0][0]


class Seven:
    """A user type with __index__, like numpy's integers."""

    def __index__(self):
        return 7


@pytest.mark.parametrize(
    ("value", "expected"),
    [
        (3, 3),
        (-2, -2),
        (10**40, 10**40),
        (-(3**100), -(3**100)),
        (np.int64(5), 5),
        (np.uint8(200), 200),
        (Seven(), 7),
        (Fraction(1, 3), Fraction(1, 3)),
        (Fraction(-22, 7), Fraction(-22, 7)),
        (Decimal("0.1"), Fraction(1, 10)),
        (Decimal("-1.25E+3"), -1250),
        (Decimal("1E-30"), Fraction(1, 10**30)),
        ("1/3", Fraction(1, 3)),
        ("-2", -2),
        ("0.25", Fraction(1, 4)),
        ("1e3", 1000),
        (" 1_000.5 ", Fraction(2001, 2)),
        ("7/" + "9" * 50, Fraction(7, 10**50 - 1)),
    ],
)
def test_exact_numbers_are_read_exactly(value, expected):
    assert width(value) == expected
    assert isinstance(cv.box(1, 1, 1).volume, Fraction)


@pytest.mark.parametrize(
    ("value", "hint"),
    [
        (0.1, 'Fraction("0.1")'),
        (1.5, 'the text "1.5"'),
        (np.float64(0.5), 'Fraction("0.5")'),
        (True, "bool"),
        (False, "bool"),
        (np.float32(0.5), "exact number"),
        (1j, "exact number"),
        (None, "exact number"),
        (b"1", "exact number"),
        ([1], "exact number"),
    ],
)
def test_floats_bools_and_other_types_are_type_errors_that_say_what_to_pass(value, hint):
    with pytest.raises(TypeError, match="argument 'dx'") as info:
        cv.box(value, 1, 1)
    assert hint in str(info.value)


@pytest.mark.parametrize(
    ("value", "problem"),
    [
        ("1/2/3", "not an exact number"),
        ("1.5/2", "not an exact number"),
        ("", "not an exact number"),
        ("nan", "not an exact number"),
        ("0x10", "not an exact number"),
        ("1/0", "zero denominator"),
        ("1e100001", "exponent"),
        (Decimal("NaN"), "not a finite number"),
        (Decimal("-Infinity"), "not a finite number"),
        (Decimal("sNaN"), "not a finite number"),
        (Decimal("1E+100001"), "exponent"),
    ],
)
def test_malformed_and_non_finite_values_are_kernel_errors(value, problem):
    with pytest.raises(cv.KernelError, match=f"argument 'dy': .*{problem}"):
        cv.box(1, value, 1)


TEXT = st.text(alphabet="0123456789+-./eE_ ", max_size=12)
SANITIZED = "asan" in os.environ.get("LD_PRELOAD", "")


@settings(max_examples=200 if SANITIZED else 2000, deadline=None)
@given(TEXT)
def test_texts_read_exactly_as_fraction_reads_them(text):
    # Fraction(text) computes 10**exponent eagerly: a text such as
    # "1e9999999999" would take forever, so the exponent is looked at first.
    exponent = re.search(r"[eE]([-+]?[\d_]+)", text)
    try:
        magnitude = abs(int(exponent.group(1).replace("_", ""))) if exponent else 0
    except ValueError:
        magnitude = 0
    assume(magnitude <= 1000 or magnitude > 100000)  # numbers of thousands of digits: test_lib_bad_inputs
    expected = None
    if magnitude <= 1000:
        try:
            expected = Fraction(text)
        except (ValueError, ZeroDivisionError):
            expected = None
    # else: beyond the exponent limit, refused whether or not Fraction reads it.
    if expected is None:
        with pytest.raises(cv.KernelError):
            cv.box(1, 1, 1).translate(text, 0, 0)
    else:
        assert cv.box(1, 1, 1).translate(text, 0, 0).bbox[0][0] == expected


@given(st.fractions(max_denominator=10**30), st.sampled_from(["fraction", "text", "decimal"]))
@example(Fraction(10**28 + 1), "decimal")  # 29 digits: more than a Decimal division keeps
def test_every_rational_form_round_trips(q, form):
    value = {"fraction": q, "text": str(q), "decimal": None}[form]
    if form == "decimal":
        if 1000 % q.denominator != 0:
            return
        # Built from its digits, so exact at any length (a Decimal division
        # would round to the context's 28 digits).
        value = Decimal(f"{q.numerator * (1000 // q.denominator)}e-3")
    assert cv.box(1, 1, 1).translate(value, 0, 0).bbox[0][0] == q


def test_results_are_fractions_in_lowest_terms():
    s = cv.box("1/3", "2/3", "3/4").translate("-1/6", 0, 0)
    lo, hi = s.bbox
    assert lo == (Fraction(-1, 6), 0, 0) and hi == (Fraction(1, 6), Fraction(2, 3), Fraction(3, 4))
    assert all(type(c) is Fraction for c in lo + hi)
    assert s.volume == Fraction(1, 6)
    huge = cv.box(10**30, 1, 1).translate(Fraction(-1, 7**30), 0, 0)
    assert huge.bbox[1][0] == 10**30 - Fraction(1, 7**30)
    assert huge.volume == 10**30
