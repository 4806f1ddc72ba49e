"""Fuzz target over the corvanthium package's functions and Solid methods.

Each input is read as a short program: which call to make and with which
arguments (exact numbers, texts, odd objects, outlines, nets), applied to a
small pool of solids. A call may return or raise one of the documented
exceptions; anything else, and any crash of the process, is a finding.

    python3 tests/fuzz/fuzz_corvanthium.py -max_total_time=600    # atheris
    python3 tests/fuzz/fuzz_corvanthium.py --hypothesis -max_total_time=60   # hypothesis instead

Run it on the sanitizer build (PYTHONPATH=build-asan, the sanitizer runtimes
in LD_PRELOAD) to catch memory errors; .ci/run does a short run.
"""

import sys
import tempfile
from decimal import Decimal
from fractions import Fraction

import corvanthium as cv

DOCUMENTED = (TypeError, ValueError, MemoryError, OverflowError, IndexError)
# Big enough for any call here, small enough that a number bomb ends early.
cv.set_memory_limit(256 << 20)


class Reader:
    """Draws values from the input bytes; past the end, zeros."""

    def __init__(self, data):
        self.data = data
        self.at = 0

    def byte(self):
        b = self.data[self.at] if self.at < len(self.data) else 0
        self.at += 1
        return b

    def small(self, n):
        return self.byte() % n

    def integer(self):
        kind = self.small(8)
        if kind < 5:
            return self.small(9) - 2
        if kind == 5:
            return int.from_bytes(bytes(self.byte() for _ in range(self.small(24))), "little") - 2**40
        if kind == 6:
            return 10 ** self.small(80)
        return -(self.small(200) + 1)

    def number(self):
        kind = self.small(10)
        if kind < 4:
            return self.integer()
        if kind == 4:
            den = self.integer()
            return Fraction(self.integer(), den if den != 0 else 1)
        if kind == 5:
            return Decimal(self.integer()).scaleb(self.small(9) - 4)
        if kind == 6:
            return self.text()
        if kind == 7:
            return [None, 1.5, True, float("nan"), Decimal("NaN"), Decimal("Infinity"), b"1", object()][self.small(8)]
        if kind == 8:
            return f"{self.integer()}/{self.integer()}"
        return f"{self.integer()}e{self.small(40) - 20}"

    def text(self):
        n = self.small(12)
        return bytes(self.byte() for _ in range(n)).decode("latin-1")

    def outline(self):
        return [(self.number() if self.small(5) == 0 else self.integer(), self.integer()) for _ in range(self.small(7))]

    def net(self):
        rows, cols = self.small(3) + 1, self.small(3) + 1
        return [[[self.integer() for _ in range(3)] for _ in range(cols)] for _ in range(rows)]


def make_solid(r):
    kind = r.small(4)
    if kind == 0:
        return cv.box(r.number(), r.number(), r.number(), label=r.text())
    if kind == 1:
        return cv.prism(r.outline(), r.number())
    if kind == 2:
        return cv.prismatoid(r.outline(), r.number(), r.outline(), r.number())
    return cv.box(r.small(4) + 1, r.small(4) + 1, r.small(4) + 1).translate(r.integer(), r.integer(), r.integer())


def one_step(r, pool):
    a = pool[r.small(len(pool))]
    b = pool[r.small(len(pool))]
    engine = [None, "bsp", "local", r.text()][r.small(4)]
    steps = [
        lambda: pool.append(make_solid(r)),
        lambda: pool.append(a.translate(r.number(), r.number(), r.number())),
        lambda: pool.append(a.scale(r.number(), r.number() if r.small(2) else None, None)),
        lambda: pool.append(a.mirror(r.number())),
        lambda: pool.append(a.rotate_quarter(r.number(), r.integer())),
        lambda: pool.append(a.union(b, engine=engine)),
        lambda: pool.append(a.cut(b, engine=engine)),
        lambda: pool.append(a.intersect(b, engine=engine)),
        lambda: pool.append(a.chamfer(Fraction(r.small(5) + 1, r.small(8) + 2))),
        lambda: (a.volume, a.bbox, a.face_count, a.polygon_count, a.is_watertight, a.canonical(), repr(a)),
        lambda: cv.nurbs_curve_point(
            r.small(4),
            [[r.number()] * 3 for _ in range(r.small(6))],
            [r.number() for _ in range(r.small(10))],
            r.number(),
        ),
        lambda: cv.nurbs_surface_point(
            r.small(3),
            r.small(3),
            r.net(),
            [r.number() for _ in range(r.small(8))],
            [r.number() for _ in range(r.small(8))],
            r.number(),
            r.number(),
        ),
        lambda: cv.ssi_pairs(r.net(), r.net(), r.small(4), None, [r.number() for _ in range(r.small(5))] or None),
        lambda: load_corrupted(r, a),
    ]
    steps[r.small(len(steps))]()


def load_corrupted(r, a):
    """A solid's stored bytes, cut short, with bytes changed or inserted, read
    back through a pickle's loader or from a file. Whatever is read must be a
    well-formed solid; anything else must be a KernelError."""
    payload = bytearray(a.to_bytes())
    for _ in range(r.small(8)):
        edit = r.small(4)
        if not payload:
            break
        at = r.small(len(payload)) if len(payload) < 256 else (r.byte() << 8 | r.byte()) % len(payload)
        if edit == 0:
            del payload[at:]
        elif edit == 1:
            payload.insert(at, r.byte())
        else:
            payload[at] = r.byte()
    if r.small(4) == 0:
        with tempfile.NamedTemporaryFile(suffix=".corv") as f:
            f.write(payload)
            f.flush()
            s = cv.load(f.name)
    else:
        s = cv._native._from_bytes(bytes(payload))
    # What passes the checks is a solid like any other.
    s.volume, s.polygon_count, s.is_watertight, s.canonical(), s.to_bytes()


def run_input(data):
    r = Reader(data)
    pool = [cv.box(1, 1, 1), cv.box(2, 1, 1).translate(Fraction(1, 2), 0, 0)]
    for _ in range(r.small(6) + 1):
        try:
            one_step(r, pool)
        except DOCUMENTED:
            pass
        if len(pool) > 6:
            del pool[2:4]


def with_hypothesis(seconds):
    """Random inputs from hypothesis until `seconds` have passed (no atheris)."""
    import time

    from hypothesis import HealthCheck, given, settings
    from hypothesis import strategies as st

    count = 0
    end = time.monotonic() + seconds

    @settings(max_examples=500, deadline=None, suppress_health_check=list(HealthCheck), database=None)
    @given(st.binary(max_size=256))
    def fuzz(data):
        nonlocal count
        count += 1
        run_input(data)

    while time.monotonic() < end:
        fuzz()
    print(f"hypothesis: {count} inputs, no failure")


def main():
    seconds = 60
    for arg in sys.argv[1:]:
        if arg.startswith("-max_total_time="):
            seconds = int(arg.split("=", 1)[1])
    try:
        import atheris
    except ImportError:
        atheris = None
    if atheris is None or "--hypothesis" in sys.argv:
        with_hypothesis(seconds)
        return
    # Coverage of this target's own choices guides the inputs (the native code
    # is not built for coverage).
    chosen = ((Reader, ("integer", "number", "outline", "net")), (sys.modules[__name__], ("one_step", "make_solid")))
    for holder, names in chosen:
        for name in names:
            setattr(holder, name, atheris.instrument_func(getattr(holder, name)))
    atheris.Setup([a for a in sys.argv if a != "--hypothesis"], run_input)
    atheris.Fuzz()


if __name__ == "__main__":
    main()
