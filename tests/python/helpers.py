"""Helpers shared by the Python tests of corvanthium_rs."""

import contextlib
import re
from fractions import Fraction

import pytest


@contextlib.contextmanager
def raises_panic(match=None):
    """Expect the kernel's internal-error exception.

    PanicException is not a module attribute and derives from BaseException
    only, so it is recognised by name. `match` is a regular expression searched
    in the exception text. Yields a pytest ExceptionInfo.
    """
    with pytest.raises(BaseException) as info:
        yield info
    exc = info.value
    assert type(exc).__name__ == "PanicException", f"expected PanicException, got {type(exc)!r}: {exc}"
    assert not isinstance(exc, Exception), "PanicException must not derive from Exception"
    if match is not None:
        assert re.search(match, str(exc)), f"{str(exc)!r} does not match {match!r}"


def panic_of(fn, *args, **kwargs):
    """The PanicException that fn(*args, **kwargs) raises (it must raise one)."""
    with raises_panic() as info:
        fn(*args, **kwargs)
    return info.value


def text(q):
    """The kernel's text form n/d of a rational value."""
    q = Fraction(q)
    return f"{q.numerator}/{q.denominator}"
