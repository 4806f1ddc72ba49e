"""The benchmark workloads as importable functions.

Each workload is a setup function that takes the extension module, builds
its inputs (not timed) and returns the call to time, bound to that module.
bench.py prints their medians; compare.py runs them against two builds.
"""

from fractions import Fraction


def text(q):
    q = Fraction(q)
    return f"{q.numerator}/{q.denominator}"


# ---------------------------------------------------------------- Booleans


def circle_outline(cx, cy, radius=Fraction(3, 5)):
    """16 exact rational points on a circle, counter-clockwise."""
    quarter = []
    for j in range(4):
        t = Fraction(j, 4)
        quarter.append(((1 - t * t) / (1 + t * t), 2 * t / (1 + t * t)))
    points = []
    for turn in range(4):
        for x, y in quarter:
            for _ in range(turn):
                x, y = -y, x
            points.append((x, y))
    flat = []
    for x, y in points:
        flat += [text(cx + radius * x), text(cy + radius * y)]
    return flat


def box_cut(cr):
    return lambda: cr.box_boolean("2", "2", "2", "2", "2", "2", "1", "1", "1", "cut")


def polygon_count(solid):
    """Polygons of a low-level solid (its canonical text has one entry each)."""
    text = solid.canonical()
    return text.count(";") + 1 if text else 0


def counted_boolean(a, op, b, tally):
    """a op b; with a tally (a list), first adds the two operands' polygons to it."""
    if tally is not None:
        tally.append(polygon_count(a) + polygon_count(b))
    return a.boolean(op, b)


def plate_of(k):
    """The (2k+2) x (2k+2) x 1 plate minus k x k round holes, one cut per hole."""

    def setup(cr, tally=None):
        side = str(2 * k + 2)
        holes = []
        for i in range(k):
            for j in range(k):
                hole = cr.make_prism(circle_outline(2 * i + 2, 2 * j + 2), "3", f"hole{i}{j}")
                holes.append(hole.translate("0", "0", "-1"))

        def run():
            plate = cr.make_box(side, side, "1", "plate")
            for hole in holes:
                plate = counted_boolean(plate, "cut", hole, tally)
            return plate

        return run

    return setup


def union_of(n):
    """The union of n unit boxes, each shifted by (i/3, i/5, i/7) from the first."""

    def setup(cr, tally=None):
        boxes = [cr.make_box("1", "1", "1", "b0")]
        for i in range(1, n):
            box = cr.make_box("1", "1", "1", f"b{i}")
            boxes.append(box.translate(text(Fraction(i, 3)), text(Fraction(i, 5)), text(Fraction(i, 7))))

        def run():
            acc = boxes[0]
            for box in boxes[1:]:
                acc = counted_boolean(acc, "union", box, tally)
            return acc

        return run

    return setup


# ---------------------------------------------------------------- builders


def flat(points):
    return [str(c) for p in points for c in p]


def convex(n):
    """n points on the parabola y = x^2, closed: strictly convex, counter-clockwise."""
    return [(i, i * i) for i in range(n)]


def comb(teeth, height=20):
    """A spine along the x axis with unit-wide teeth and gaps, counter-clockwise."""
    width = 2 * teeth - 1
    loop = [(0, 0), (width, 0)]
    for t in range(teeth - 1, -1, -1):
        loop += [(2 * t + 1, height), (2 * t, height)]
        if t > 0:
            loop += [(2 * t, 1), (2 * t - 1, 1)]
    return loop


def prism_of(cr, loop):
    texts = flat(loop)
    return lambda: cr.make_prism(texts, "1", "p")


def prismatoid_square(cr):
    square = flat([(0, 0), (1, 0), (1, 1), (0, 1)])
    return lambda: cr.make_prismatoid(square, "0", square, "1", "p")


# ---------------------------------------------------------------- chamfer

L_OUTLINE = ["0", "0", "2", "0", "2", "1", "1", "1", "1", "2", "0", "2"]


def chamfer_of(make):
    def setup(cr):
        solid = make(cr)
        return lambda: solid.chamfer("1/10")

    return setup


# ---------------------------------------------------------------- NURBS and patches


def nurbs_surface_batch(cr):
    """200 evaluations of a bicubic rational surface on an 8 x 8 net."""
    n, p = 8, 3
    net = [
        [[text(Fraction(i, 3)), text(Fraction(j, 5)), text(Fraction((i * j) % 7, i + j + 1))] for j in range(n)]
        for i in range(n)
    ]
    weights = [[text(Fraction(1 + (i + 2 * j) % 5, 2 + (i * j) % 3)) for j in range(n)] for i in range(n)]
    knots = [text(0)] * (p + 1) + [text(Fraction(i, n - p)) for i in range(1, n - p)] + [text(1)] * (p + 1)
    params = [(text(Fraction(i, 199)), text(Fraction((i * 37) % 199, 199))) for i in range(200)]

    def run():
        for u, v in params:
            cr.nurbs_surface_eval(p, p, net, knots, knots, u, v, weights)

    return run


# A dome over [0, 3] x [0, 3] and a wavy wall across it meet along one curve,
# so the surviving pairs roughly double per level.
HEIGHTS = [0, 2, 2, 0]
WALL_Y = ["2", "1", "2", "1"]
DOME = [[[str(i), str(j), str(HEIGHTS[i] + HEIGHTS[j])] for j in range(4)] for i in range(4)]
WALL = [[[str(j), WALL_Y[i], f"{4 * i - 3}/3"] for j in range(4)] for i in range(4)]


def ssi_at(depth):
    return lambda cr: lambda: cr.ssi_pairs(DOME, WALL, depth)


# name -> (setup, calls per timed batch: enough for a batch of roughly 10 ms or more)
WORKLOADS = {
    "boolean.box_cut": (box_cut, 200),
    "boolean.plate_3x3_holes": (plate_of(3), 1),
    "boolean.plate_6x6_holes": (plate_of(6), 1),
    "boolean.plate_12x12_holes": (plate_of(12), 1),
    "boolean.union_12_boxes": (union_of(12), 4),
    "boolean.union_48_boxes": (union_of(48), 1),
    "boolean.union_192_boxes": (union_of(192), 1),
    "builders.prism_convex_2000": (lambda cr: prism_of(cr, convex(2000)), 2),
    "builders.prism_comb_500": (lambda cr: prism_of(cr, comb(125)), 10),
    "builders.prism_comb_2000": (lambda cr: prism_of(cr, comb(500)), 2),
    "builders.prismatoid_square": (prismatoid_square, 2000),
    "chamfer.box_3x2x1": (chamfer_of(lambda cr: cr.make_box("3", "2", "1", "b")), 10),
    "chamfer.box_10x1x1": (chamfer_of(lambda cr: cr.make_box("10", "1", "1", "b")), 10),
    "chamfer.l_prism": (chamfer_of(lambda cr: cr.make_prism(L_OUTLINE, "1", "l")), 3),
    "nurbs.surface_200_points": (nurbs_surface_batch, 1),
    "ssi.depth_4": (ssi_at(4), 10),
    "ssi.depth_5": (ssi_at(5), 5),
    "ssi.depth_6": (ssi_at(6), 3),
}


def names(group=None):
    """The workload names, all or those of one group (the part before the dot)."""
    return [n for n in WORKLOADS if group is None or n.split(".")[0] == group]


def input_polygons(name, cr):
    """For a chain of Booleans: the operands' polygons summed over its
    Booleans (one untimed run); None for other workloads."""
    if name == "boolean.box_cut":
        return 12  # one Boolean of two boxes
    setup, _ = WORKLOADS[name]
    if setup.__name__ != "setup" or name.split(".")[0] != "boolean":
        return None
    tally = []
    setup(cr, tally)()
    return sum(tally)


def prepared(name, cr):
    """(call, inner): the call to time on module cr, and how many calls make one batch."""
    setup, inner = WORKLOADS[name]
    return setup(cr), inner
