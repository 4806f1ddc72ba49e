"""The types the package's signatures are written in."""

from __future__ import annotations

from collections.abc import Sequence
from decimal import Decimal
from fractions import Fraction
from typing import Literal, SupportsIndex, TypeAlias

# An exact number: an int (or anything with __index__), a Fraction (or any
# numbers.Rational), a finite Decimal, or exact text such as "1/3" or "0.25".
Number: TypeAlias = SupportsIndex | Fraction | Decimal | str
Point2: TypeAlias = Sequence[Number]  # (x, y)
Axis: TypeAlias = Literal[0, 1, 2, "x", "y", "z", "X", "Y", "Z"] | SupportsIndex
Engine: TypeAlias = Literal["bsp"] | Literal["local"]
Point3: TypeAlias = tuple[Fraction, Fraction, Fraction]
PairBox: TypeAlias = tuple[Fraction, Fraction, Fraction, Fraction, Fraction, Fraction, Fraction, Fraction]
