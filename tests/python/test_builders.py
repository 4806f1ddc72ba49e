"""Prisms and prismatoids through the Python module."""

from fractions import Fraction

from hypothesis import given, settings
from hypothesis import strategies as st

import corvanthium_rs as cr
from helpers import raises_panic


def flat(points):
    return [str(c) for p in points for c in p]


def q(text):
    num, den = text.split("/")
    return Fraction(int(num), int(den))


def point_text(p):
    return ",".join(f"{Fraction(c).numerator}/{Fraction(c).denominator}" for c in p)


def canonical_of(faces):
    """The canonical text of a list of faces given as 3-D point lists."""
    keys = {"|".join(sorted(point_text(p) for p in face)) for face in faces}
    return ";".join(sorted(keys))


def faces_of(solid):
    """The distinct faces of a solid, each as a list of exact points."""
    text = solid.canonical()
    if not text:
        return []
    return [[tuple(q(c) for c in p.split(",")) for p in key.split("|")] for key in text.split(";")]


def area2(points):
    n = len(points)
    return sum(
        Fraction(points[i][0]) * Fraction(points[(i + 1) % n][1])
        - Fraction(points[(i + 1) % n][0]) * Fraction(points[i][1])
        for i in range(n)
    )


def prism_faces(triangles, outline, h):
    faces = []
    for a, b, c in triangles:
        faces.append([(*a, 0), (*c, 0), (*b, 0)])
        faces.append([(*a, h), (*b, h), (*c, h)])
    n = len(outline)
    for i in range(n):
        p, k = outline[i], outline[(i + 1) % n]
        faces.append([(*p, 0), (*k, 0), (*k, h), (*p, h)])
    return faces


SQUARE = [(0, 0), (1, 0), (1, 1), (0, 1)]
ELL = [(0, 0), (2, 0), (2, 1), (1, 1), (1, 2), (0, 2)]


class TestPrism:
    def test_unit_square(self):
        s = cr.make_prism(flat(SQUARE), "1", "p")
        tris = [((0, 1), (0, 0), (1, 0)), ((1, 0), (1, 1), (0, 1))]
        assert s.canonical() == canonical_of(prism_faces(tris, SQUARE, 1))
        assert len(faces_of(s)) == 8
        assert s.volume6_str() == "6/1"

    def test_clockwise_square_is_reversed(self):
        cw = [(0, 0), (0, 1), (1, 1), (1, 0)]
        s = cr.make_prism(flat(cw), "1", "p")
        outline = cw[::-1]  # the reversed (counter-clockwise) list, starting at (1,0)
        assert outline[0] == (1, 0)
        tris = [((0, 0), (1, 0), (1, 1)), ((1, 1), (0, 1), (0, 0))]
        assert s.canonical() == canonical_of(prism_faces(tris, outline, 1))
        assert s.volume6_str() == "6/1"

    def test_unpaired_last_text_is_never_read(self):
        eight = cr.make_prism(flat(SQUARE), "1", "p")
        nine = cr.make_prism(flat(SQUARE) + ["not a number"], "1", "p")
        assert nine.canonical() == eight.canonical()

    def test_malformed_numbers_fail(self):
        for loop, h in ((["0", "0", "1", "0", "1", "x", "0", "1"], "1"), (flat(SQUARE), "1/0")):
            with raises_panic():
                cr.make_prism(loop, h, "p")

    def test_zero_height_keeps_only_the_caps(self):
        s = cr.make_prism(flat(SQUARE), "0", "p")
        faces = faces_of(s)
        assert len(faces) == 2  # bottom and top coincide
        assert all(len(f) == 3 and all(p[2] == 0 for p in f) for f in faces)
        assert s.volume6_str() == "0/1"

    def test_two_points_give_two_coincident_sides(self):
        s = cr.make_prism(["0", "0", "3", "0"], "2", "p")
        assert s.canonical() == canonical_of([[(0, 0, 0), (3, 0, 0), (3, 0, 2), (0, 0, 2)]])
        assert s.volume6_str() == "0/1"
        assert s.watertight_ok()

    def test_ell_cap_is_a_triangulation(self):
        s = cr.make_prism(flat(ELL), "1", "p")
        tris = [((0, 0), (2, 0), (2, 1)), ((0, 0), (2, 1), (1, 1)), ((0, 2), (0, 0), (1, 1)), ((1, 1), (1, 2), (0, 2))]
        assert s.canonical() == canonical_of(prism_faces(tris, ELL, 1))
        assert s.volume6_str() == "18/1"


class TestPrismBooleans:
    def notch_cube(self):
        return cr.make_box("1", "1", "1", "c").translate("1", "1", "0")

    def test_ell_union_fills_the_notch(self):
        ell = cr.make_prism(flat(ELL), "1", "p")
        u = ell.boolean("union", self.notch_cube())
        assert u.volume6_str() == "24/1"
        assert u.watertight_ok()

    def test_ell_cut_by_the_notch_cube(self):
        ell = cr.make_prism(flat(ELL), "1", "p")
        c = ell.boolean("cut", self.notch_cube())
        assert c.volume6_str() == "18/1"
        assert c.watertight_ok()


class TestPrismatoid:
    def test_square_to_square(self):
        s = cr.make_prismatoid(flat(SQUARE), "0", flat(SQUARE), "1", "p")
        assert len(faces_of(s)) == 2 + 2 + 8
        assert all(len(f) == 3 for f in faces_of(s))
        assert s.volume6_str() == "6/1"

    def test_frustum_volume(self):
        big = [(0, 0), (2, 0), (2, 2), (0, 2)]
        s = cr.make_prismatoid(flat(big), "0", flat(SQUARE), "3", "f")
        # 6 * h/3 * (A + sqrt(A a) + a) with A = 4, a = 1, h = 3
        assert s.volume6_str() == "42/1"

    def test_top_shorter_than_bottom_fails(self):
        with raises_panic("top outline"):
            cr.make_prismatoid(flat(SQUARE), "0", flat(SQUARE[:3]), "1", "p")
        # The module stays usable.
        assert cr.make_prism(flat(SQUARE), "1", "p").volume6_str() == "6/1"


# Random simple counter-clockwise outlines.


@st.composite
def skylines(draw):
    """Columns over the x axis; equal neighbouring heights leave straight corners."""
    widths = draw(st.lists(st.integers(1, 3), min_size=1, max_size=12))
    heights = draw(st.lists(st.integers(1, 6), min_size=len(widths), max_size=len(widths)))
    xs = [0]
    for w in widths:
        xs.append(xs[-1] + w)
    loop = [(0, 0), (xs[-1], 0)]
    for c in range(len(widths) - 1, -1, -1):
        right = (xs[c + 1], heights[c])
        if right != loop[-1]:
            loop.append(right)
        loop.append((xs[c], heights[c]))
    start = draw(st.integers(0, len(loop) - 1))
    return loop[start:] + loop[:start]


@st.composite
def stars(draw):
    """One point or more in every open quadrant, in angular order around the origin."""
    pts = []
    for sx, sy in ((1, 1), (-1, 1), (-1, -1), (1, -1)):
        quad = draw(st.lists(st.tuples(st.integers(1, 8), st.integers(1, 8)), min_size=1, max_size=5))
        quad = sorted(
            {(sx * x, sy * y) for x, y in quad}, key=lambda p: Fraction(p[1], p[0])
        )  # within one quadrant: by slope
        kept = []
        for p in quad:
            if not kept or kept[-1][0] * p[1] - kept[-1][1] * p[0] != 0:
                kept.append(p)
        pts.extend(kept)
    start = draw(st.integers(0, len(pts) - 1))
    return pts[start:] + pts[:start]


outlines = st.one_of(skylines(), stars())
heights = st.fractions(min_value=Fraction(1, 7), max_value=9, max_denominator=12)


@settings(max_examples=150, deadline=None)
@given(outlines, heights, st.booleans())
def test_prism_volume_is_height_times_area(outline, h, clockwise):
    area = area2(outline) / 2
    assert area > 0
    given_loop = outline[::-1] if clockwise else outline
    s = cr.make_prism(flat(given_loop), str(h), "p")
    assert q(s.volume6_str()) == 6 * h * area


@settings(max_examples=150, deadline=None)
@given(outlines)
def test_caps_are_triangulations(outline):
    # Every top triangle is distinct, so the summed unsigned areas equal the
    # outline's area only when the triangles do not overlap; the volume then
    # shows that none of them runs clockwise.
    h = 1
    s = cr.make_prism(flat(outline), str(h), "p")
    tops = [f for f in faces_of(s) if len(f) == 3 and all(p[2] == h for p in f)]
    unsigned = sum(abs(area2([p[:2] for p in f])) for f in tops)
    assert unsigned == area2(outline)
    assert q(s.volume6_str()) == 3 * h * area2(outline)
