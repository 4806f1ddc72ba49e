"""Exact rotations: rational matrices from rational quaternions.

A quaternion (a, b, c, d) with rational parts gives the rotation matrix of
Euler and Rodrigues divided by a² + b² + c² + d², every entry rational, the
axis (b, c, d) kept exactly. Rational quaternions lie densely among all
rotations, so an angle that has no rational matrix (30° about z) is met
within any tolerance by one that has, about exactly the axis asked.
"""

from __future__ import annotations

import decimal
import math
from collections.abc import Sequence
from decimal import Decimal
from fractions import Fraction
from typing import Any

from corvanthium._native import KernelError

Matrix = tuple[tuple[Fraction, Fraction, Fraction], ...]

_AXES = {"x": (1, 0, 0), "y": (0, 1, 0), "z": (0, 0, 1)}


def exact(value: Any, name: str) -> Fraction:
    """value as a Fraction: an int, Fraction, finite Decimal or exact text; never a float."""
    if isinstance(value, (float, bool, complex)) or value is None:
        raise TypeError(f"argument '{name}': expected an exact number, got {type(value).__name__}")
    try:
        return Fraction(value)
    except (ValueError, ZeroDivisionError) as e:
        raise KernelError(f"argument '{name}': {value!r} is not an exact number ({e})") from e
    except TypeError:
        if hasattr(value, "__index__"):
            return Fraction(value.__index__())
        raise TypeError(f"argument '{name}': expected an exact number, got {type(value).__name__}") from None


def axis_vector(axis: Any) -> tuple[Fraction, Fraction, Fraction]:
    """'x', 'y', 'z' (either case) or an exact direction triple, not zero."""
    if isinstance(axis, str):
        if axis.lower() not in _AXES:
            raise KernelError(f"argument 'axis': {axis!r} is not 'x', 'y', 'z' or a direction (x, y, z)")
        x, y, z = _AXES[axis.lower()]
        return Fraction(x), Fraction(y), Fraction(z)
    if not isinstance(axis, Sequence) or len(axis) != 3:
        raise TypeError("argument 'axis': expected 'x', 'y', 'z' or a direction (x, y, z)")
    direction = (exact(axis[0], "axis"), exact(axis[1], "axis"), exact(axis[2], "axis"))
    if not any(direction):
        raise KernelError("argument 'axis' is (0, 0, 0): a rotation needs a direction")
    return direction


def _norm2(v: Sequence[Fraction]) -> Fraction:
    return v[0] * v[0] + v[1] * v[1] + v[2] * v[2]


def rational_sqrt(q: Fraction) -> Fraction | None:
    """The rational square root of q (not negative), when there is one."""
    n, d = math.isqrt(q.numerator), math.isqrt(q.denominator)
    return Fraction(n, d) if n * n == q.numerator and d * d == q.denominator else None


def quaternion_matrix(a: Fraction, b: Fraction, c: Fraction, d: Fraction) -> Matrix:
    """The rotation of the quaternion a + b i + c j + d k (not zero), exactly."""
    n = a * a + b * b + c * c + d * d
    if n == 0:
        raise KernelError("argument 'quaternion' is (0, 0, 0, 0): a rotation needs one that is not zero")
    return (
        ((a * a + b * b - c * c - d * d) / n, 2 * (b * c - a * d) / n, 2 * (b * d + a * c) / n),
        (2 * (b * c + a * d) / n, (a * a - b * b + c * c - d * d) / n, 2 * (c * d - a * b) / n),
        (2 * (b * d - a * c) / n, 2 * (c * d + a * b) / n, (a * a - b * b - c * c + d * d) / n),
    )


def _pi(context: decimal.Context) -> Decimal:
    """pi to the context's precision: 16 atan(1/5) - 4 atan(1/239)."""

    def atan_inverse(n: int) -> Decimal:
        x = context.divide(1, n)
        total, term, k, x2 = x, x, 1, x * x
        while abs(term) > small:
            term = context.multiply(term, -x2)
            k += 2
            total = context.add(total, context.divide(term, k))
        return total

    small = Decimal(10) ** -(context.prec + 2)
    return context.subtract(context.multiply(16, atan_inverse(5)), context.multiply(4, atan_inverse(239)))


def _sin_cos(angle: Decimal, context: decimal.Context) -> tuple[Decimal, Decimal]:
    """sin and cos of angle (radians, |angle| <= pi) by their series."""
    sin, cos = Decimal(0), Decimal(0)
    term, k = Decimal(1), 0  # angle^k / k!
    small = Decimal(10) ** -(context.prec + 2)
    while abs(term) > small:
        if k % 4 == 0:
            cos = context.add(cos, term)
        elif k % 4 == 1:
            sin = context.add(sin, term)
        elif k % 4 == 2:
            cos = context.subtract(cos, term)
        else:
            sin = context.subtract(sin, term)
        k += 1
        term = context.divide(context.multiply(term, angle), k)
    return sin, cos


def simplest_between(lo: Fraction, hi: Fraction) -> tuple[int, int]:
    """(p, q): the fraction p / q of smallest q in [lo, hi], for 0 <= lo <= hi."""
    return simplest_between_ratios(lo.numerator, lo.denominator, hi.numerator, hi.denominator)


def simplest_between_ratios(a: int, b: int, c: int, d: int) -> tuple[int, int]:
    """simplest_between(a / b, c / d) for positive b and d, the ratios in any terms."""
    # Continued fractions of both ends, in integers, followed while they agree.
    terms: list[int] = []
    while True:
        whole = -(-a // b)
        if whole * d <= c:
            terms.append(whole)
            break
        floor = a // b
        terms.append(floor)
        a, b, c, d = d, c - floor * d, b, a - floor * b  # 1 / (hi - floor), 1 / (lo - floor)
    p, q = terms[-1], 1
    for t in reversed(terms[:-1]):
        p, q = t * p + q, p
    return p, q


def _approximate(x: Decimal, step: Fraction) -> Fraction:
    """The rational of smallest denominator within step of the number x."""
    lo, hi = Fraction(x) - step, Fraction(x) + step
    if lo <= 0 <= hi:
        return Fraction(0)
    if lo > 0:
        return Fraction(*simplest_between(lo, hi))
    p, q = simplest_between(-hi, -lo)
    return Fraction(-p, q)


def _turn(direction: tuple[Fraction, ...], degrees: Fraction, tolerance: Fraction) -> Matrix:
    """The rotation by degrees about direction, exact where its matrix can be, else within tolerance."""
    half = (degrees % 360) / 2  # in [0, 180)
    length = rational_sqrt(_norm2(direction))
    if half == 0:
        return quaternion_matrix(Fraction(1), *(0 * v for v in direction))
    if half == 90:
        return quaternion_matrix(Fraction(0), *direction)
    if half in (45, 135) and length is not None:
        sign = 1 if half == 45 else -1
        return quaternion_matrix(length, *(sign * v for v in direction))
    # q = (cos h, sin h * u) for the unit axis u = direction / L: scaled, either
    # (1, t * direction) with t = tan h / L, or (w, direction) with w = L cot h.
    # The angle 2h moves by at most 2 L |dt| or 2 |dw| / L.
    length_sq = _norm2(direction)
    digits = 30 + len(str(tolerance.denominator)) + len(str(length_sq.numerator)) + len(str(length_sq.denominator))
    context = decimal.Context(prec=digits)
    sin, cos = _sin_cos(
        context.divide(context.multiply(Decimal(half.numerator), _pi(context)), Decimal(half.denominator * 180)),
        context,
    )
    big_l = context.sqrt(context.divide(Decimal(length_sq.numerator), Decimal(length_sq.denominator)))
    if abs(sin) <= abs(cos):
        t = _approximate(context.divide(sin, context.multiply(cos, big_l)), tolerance / (4 * Fraction(big_l + 1)))
        return quaternion_matrix(Fraction(1), *(t * v for v in direction))
    w = _approximate(context.divide(context.multiply(big_l, cos), sin), tolerance * Fraction(big_l) / 4)
    return quaternion_matrix(w, *direction)


def rotation(
    axis: Any = None,
    degrees: Any = None,
    *,
    tolerance: Any = Fraction(1, 10**9),
    cos: Any = None,
    sin: Any = None,
    quaternion: Sequence[Any] | None = None,
) -> Matrix:
    """The exact 3 x 3 matrix (rows of Fractions) of a rotation, right-handed about its axis.

    One of three forms:

    - ``rotation(axis, degrees)``: ``axis`` is "x", "y", "z" or an exact
      direction (x, y, z); the matrix is rational, keeps the axis exactly,
      and turns by an angle within ``tolerance`` radians of ``degrees``
      (exactly ``degrees`` for multiples of 90° about an axis of rational
      length and for 180° about any axis). ``degrees`` may also be a float,
      taken as the binary fraction it stores.
    - ``rotation(axis, cos=c, sin=s)``: the angle whose cosine and sine are
      the exact c and s (c² + s² = 1), about an axis of rational length: exact.
    - ``rotation(quaternion=(a, b, c, d))``: the rotation of that quaternion
      (scalar part first; exact numbers, not all zero): exact.

    >>> rotation("z", 90)[0]
    (Fraction(0, 1), Fraction(-1, 1), Fraction(0, 1))

    Raises TypeError for numbers that are not exact or a wrong mix of
    arguments, KernelError for a zero axis or quaternion, cos² + sin² ≠ 1,
    an axis of irrational length with cos and sin, or a tolerance that is
    not positive.
    """
    if quaternion is not None:
        if axis is not None or degrees is not None or cos is not None or sin is not None:
            raise TypeError("rotation(quaternion=...) takes no axis, degrees, cos or sin")
        if not isinstance(quaternion, Sequence) or len(quaternion) != 4:
            raise TypeError("argument 'quaternion': expected (a, b, c, d)")
        a, b, c, d = (exact(v, "quaternion") for v in quaternion)
        return quaternion_matrix(a, b, c, d)
    if axis is None:
        raise TypeError("rotation() needs an axis (or a quaternion)")
    direction = axis_vector(axis)
    if cos is not None or sin is not None:
        if degrees is not None or cos is None or sin is None:
            raise TypeError("rotation(axis, cos=..., sin=...) takes both cos and sin and no degrees")
        c, s = exact(cos, "cos"), exact(sin, "sin")
        if c * c + s * s != 1:
            raise KernelError(f"arguments 'cos' and 'sin': cos² + sin² is {c * c + s * s}, not 1")
        length = rational_sqrt(_norm2(direction))
        if c == -1:
            return quaternion_matrix(Fraction(0), *direction)
        if length is None:
            raise KernelError(
                f"argument 'axis' {tuple(map(str, direction))} has an irrational length: give cos and sin "
                "about an axis of rational length, or degrees"
            )
        # (1 + cos, sin * u) is the half-angle quaternion scaled by 2 cos(h).
        return quaternion_matrix((1 + c) * length, *(s * v for v in direction))
    if degrees is None:
        raise TypeError("rotation(axis, degrees) needs degrees (or cos and sin)")
    tol = exact(tolerance, "tolerance")
    if tol <= 0:
        raise KernelError(f"argument 'tolerance' must be positive, got {tol}")
    if isinstance(degrees, float):
        # An angle is met within the tolerance anyway: a float is taken as the binary
        # fraction it stores (360 * k / n reads naturally).
        if not math.isfinite(degrees):
            raise KernelError(f"argument 'degrees' must be finite, got {degrees}")
        return _turn(direction, Fraction(degrees), tol)
    return _turn(direction, exact(degrees, "degrees"), tol)
