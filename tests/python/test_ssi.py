"""ssi_pairs: lockstep subdivision screen of two rational Bezier patches."""

import random
import subprocess
import sys
import textwrap
from fractions import Fraction

import pytest

import corvanthium_rs as m
from helpers import panic_of

SQUARE = [[["0", "0", "0"], ["0", "1", "0"]], [["1", "0", "0"], ["1", "1", "0"]]]
LIFTED = [[["0", "0", "1"], ["0", "1", "1"]], [["1", "0", "1"], ["1", "1", "1"]]]
DEFAULT_ROW = ["0/1", "1/1", "0/1", "1/1", "0/1", "1/1", "0/1", "1/1"]


def weighted(net, w):
    """The same Cartesian net written homogeneously with weight w."""
    return [[[str(Fraction(c) * w) for c in p] + [str(w)] for p in row] for row in net]


# A straightforward model of the screen on Fractions, written from the
# description of the algorithm: every pair splits both patches, copies
# everything and recomputes every box.
def _split_rows(rows, dim):
    lefts, rights = [], []
    for row in rows:
        w = [list(p) for p in row]
        h = len(w)
        left, right = [list(w[0])], [list(w[h - 1])]
        for o in range(1, h):
            for j in range(h - o):
                w[j] = [(w[j][i] + w[j + 1][i]) / 2 for i in range(dim)]
            left.append(list(w[0]))
            right.append(list(w[h - 1 - o]))
        right.reverse()
        lefts.append(left)
        rights.append(right)
    return lefts, rights


def _split4(patch):
    net, u0, u1, v0, v1 = patch
    dim, rows, cols = len(net[0][0]), len(net), len(net[0])
    low, high = _split_rows([[net[i][j] for i in range(rows)] for j in range(cols)], dim)
    um, vm = (u0 + u1) / 2, (v0 + v1) / 2
    quarters = []
    for half, a, b in ((low, u0, um), (high, um, u1)):
        left, right = _split_rows([[half[j][i] for j in range(cols)] for i in range(rows)], dim)
        quarters += [(left, a, b, v0, vm), (right, a, b, vm, v1)]
    return quarters


def _bbox(patch):
    net = patch[0]
    cartesian = len(net[0][0]) == 3
    pts = [p[:3] if cartesian else [p[0] / p[3], p[1] / p[3], p[2] / p[3]] for row in net for p in row]
    return [min(p[k] for p in pts) for k in range(3)], [max(p[k] for p in pts) for k in range(3)]


def _disjoint(a, b):
    return any(a[0][k] > b[1][k] or b[0][k] > a[1][k] for k in range(3))


def model(net_a, net_b, depth, a_box=("0", "1", "0", "1"), b_box=("0", "1", "0", "1")):
    def patch(net, box):
        return ([[[Fraction(c) for c in p] for p in row] for row in net], *map(Fraction, box[:4]))

    level = [(patch(net_a, a_box), patch(net_b, b_box))]
    for _ in range(depth):
        nxt = []
        for s, t in level:
            if _disjoint(_bbox(s), _bbox(t)):
                continue
            s4, t4 = _split4(s), _split4(t)
            for sq in s4:
                for tq in t4:
                    if not _disjoint(_bbox(sq), _bbox(tq)):
                        nxt.append((sq, tq))
        level = nxt
        if not level:
            return []
    return [[f"{x.numerator}/{x.denominator}" for x in (*s[1:], *t[1:])] for s, t in level]


def random_net(rng, rows, cols, homogeneous):
    def coord():
        return f"{rng.randint(-3, 3)}/{rng.choice([1, 2, 3])}"

    net = []
    for _ in range(rows):
        row = []
        for _ in range(cols):
            p = [coord(), coord(), coord()]
            if homogeneous:
                w = Fraction(rng.randint(1, 4), rng.choice([1, 2]))
                p = [str(Fraction(c) * w) for c in p] + [str(w)]
            row.append(p)
        net.append(row)
    return net


class TestDocumentedExamples:
    def test_depth_zero_returns_the_rectangles_unscreened(self):
        assert m.ssi_pairs(SQUARE, LIFTED, 0) == [DEFAULT_ROW]
        assert m.ssi_pairs([], [], 0, ["2/4", "1", "0", "3", "ignored"]) == [
            ["1/2", "1/1", "0/1", "3/1", "0/1", "1/1", "0/1", "1/1"]
        ]

    @pytest.mark.parametrize("depth", [1, 2, 7])
    def test_parallel_squares_do_not_meet(self, depth):
        assert m.ssi_pairs(SQUARE, LIFTED, depth) == []

    def test_identical_squares(self):
        rows = m.ssi_pairs(SQUARE, SQUARE, 1)
        assert len(rows) == 16
        assert rows[0] == ["0/1", "1/2", "0/1", "1/2"] * 2
        assert rows[1] == ["0/1", "1/2", "0/1", "1/2", "0/1", "1/2", "1/2", "1/1"]
        rows = m.ssi_pairs(SQUARE, SQUARE, 2)
        assert len(rows) == 100
        assert rows[0] == ["0/1", "1/4", "0/1", "1/4"] * 2

    def test_parameter_rectangles_are_split_at_their_midpoints(self):
        rows = m.ssi_pairs(SQUARE, SQUARE, 1, a_box=["1/3", "1", "0", "2"])
        assert {tuple(r[:2]) for r in rows} == {("1/3", "2/3"), ("2/3", "1/1")}
        assert {tuple(r[2:4]) for r in rows} == {("0/1", "1/1"), ("1/1", "2/1")}
        assert rows[0][4:] == ["0/1", "1/2", "0/1", "1/2"]

    def test_homogeneous_and_negative_weights(self):
        plain = m.ssi_pairs(SQUARE, SQUARE, 2)
        assert m.ssi_pairs(weighted(SQUARE, 3), SQUARE, 2) == plain
        assert m.ssi_pairs(weighted(SQUARE, -1), weighted(SQUARE, Fraction(1, 2)), 2) == plain
        # Homogeneous (2, 4, 6, 2) is the point (1, 2, 3): it touches B's corner.
        corner = [[["1", "2", "3"], ["5", "5", "5"]]]
        assert m.ssi_pairs([[["2", "4", "6", "2"]]], corner, 1) != []
        assert m.ssi_pairs([[["2", "4", "6", "-2"]]], corner, 1) == []


class TestFailures:
    def test_short_rectangle(self):
        panic_of(m.ssi_pairs, SQUARE, SQUARE, 1, ["0", "1", "0"])
        panic_of(m.ssi_pairs, SQUARE, SQUARE, 0, None, [])

    def test_bad_number_text(self):
        panic_of(m.ssi_pairs, [[["1/0", "0", "0"]]], SQUARE, 0)
        panic_of(m.ssi_pairs, SQUARE, SQUARE, 1, ["0", "1.5", "0", "1"])

    def test_empty_nets(self):
        panic_of(m.ssi_pairs, [], SQUARE, 1)
        panic_of(m.ssi_pairs, SQUARE, [[]], 1)

    def test_zero_weights(self):
        net = weighted(SQUARE, 1)
        net[1][0][3] = "0"
        panic_of(m.ssi_pairs, net, SQUARE, 1)
        # Weights 1 and -1 blend to zero in a quarter.
        mixed = [[["0", "0", "0", "1"], ["0", "1", "0", "-1"]]]
        panic_of(m.ssi_pairs, mixed, mixed, 1)

    def test_short_rows_and_points(self):
        panic_of(m.ssi_pairs, [[["0", "0", "0"], ["1", "1", "1"]], [["0", "0", "0"]]], SQUARE, 1)
        panic_of(m.ssi_pairs, [[["0", "0", "0"], ["1", "1"]]], SQUARE, 1)
        panic_of(m.ssi_pairs, [[["0", "0", "0", "1"], ["1", "1", "1"]]], SQUARE, 1)

    def test_module_stays_usable(self):
        panic_of(m.ssi_pairs, [], SQUARE, 1)
        assert m.ssi_pairs(SQUARE, SQUARE, 1)[0] == ["0/1", "1/2", "0/1", "1/2"] * 2


@pytest.mark.parametrize("seed", range(8))
def test_matches_a_plain_model(seed):
    rng = random.Random(seed)
    shape_a = (rng.randint(2, 4), rng.randint(2, 4))
    shape_b = (rng.randint(2, 4), rng.randint(2, 4))
    net_a = random_net(rng, *shape_a, homogeneous=seed % 2 == 1)
    net_b = random_net(rng, *shape_b, homogeneous=seed % 3 == 0)
    a_box = ["-1", "3/2", "1/3", "1"]
    depth = 3
    expected = model(net_a, net_b, depth, a_box=a_box)
    assert m.ssi_pairs(net_a, net_b, depth, a_box) == expected


def test_running_out_of_memory_is_an_exception():
    # A one-point patch against itself keeps all 16 pairs at every level, so
    # this request grows until allocation fails under the address-space limit.
    script = textwrap.dedent("""
        import resource
        import corvanthium_rs as m
        with open("/proc/self/status") as f:
            vm = next(int(line.split()[1]) * 1024 for line in f if line.startswith("VmSize:"))
        limit = vm + (384 << 20)
        resource.setrlimit(resource.RLIMIT_AS, (limit, limit))
        dot = [[["1", "2", "3"]]]
        try:
            m.ssi_pairs(dot, dot, 40)
        except BaseException as e:
            print(type(e).__name__)
        print(len(m.ssi_pairs(dot, dot, 1)))
    """)
    out = subprocess.run([sys.executable, "-c", script], capture_output=True, text=True, timeout=300)
    assert out.returncode == 0, out.stderr
    lines = out.stdout.split()
    assert lines[0] in ("MemoryError", "PanicException")
    assert lines[1] == "16"
