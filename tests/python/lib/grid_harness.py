"""Differential checks of the local engine on small integer grids.

Random programs of boxes and right prisms on a grid of side 2 to 4 (so faces
touch, overlap and meet at T-junctions, as in real parts), moved by grid
steps and quarter turns about the grid's centre and combined by all three
operations, `union_all` and `cut_all`, run once on the local engine and once
on the BSP engine. Every Boolean's result must be watertight and equal to
the BSP engine's (same volume, `same_shape`); the final result must mesh,
its triangles' exact six-fold volume must be six times its volume, and at
40 rational points (half of them on grid planes, so on faces, edges and
vertices) a ray-parity classifier over each result's own polygons must give
the same answer for both.

`failure(program)` returns the first mismatch as a text, or None;
`shrink(program)` removes steps while a failure stays.
"""

from __future__ import annotations

import math
import random
import struct
from fractions import Fraction
from math import lcm

import corvanthium as cv

# Quarter turns (axis, quarters) and the translation that brings the turned
# grid cube [0, g]^3 back onto itself, per grid side.
_TURN_SHIFT: dict[tuple[int, int, int], tuple[int, int, int]] = {}


def _turn_shift(g, axis, quarters):
    key = (g, axis, quarters)
    if key not in _TURN_SHIFT:
        lo, _ = cv.box(g, g, g).rotate_quarter(axis, quarters).bbox
        _TURN_SHIFT[key] = tuple(-int(c) for c in lo)
    return _TURN_SHIFT[key]


def _simple_quad(rng, g):
    """Four grid points forming a simple counter-clockwise quadrilateral."""
    while True:
        pts = [(rng.randint(0, g), rng.randint(0, g)) for _ in range(4)]
        if len(set(pts)) < 4:
            continue
        # Order by angle about the centroid: a star-shaped, simple loop unless
        # three points line up with the centre.
        cx = sum(p[0] for p in pts) / 4
        cy = sum(p[1] for p in pts) / 4

        pts.sort(key=lambda p: math.atan2(p[1] - cy, p[0] - cx))
        area2 = sum(pts[i][0] * pts[(i + 1) % 4][1] - pts[(i + 1) % 4][0] * pts[i][1] for i in range(4))
        if area2 <= 0:
            continue
        if any(_collinear(pts[i], pts[(i + 1) % 4], pts[(i + 2) % 4]) for i in range(4)):
            continue
        return pts


def _collinear(a, b, c):
    return (b[0] - a[0]) * (c[1] - a[1]) - (b[1] - a[1]) * (c[0] - a[0]) == 0


def _primitive(rng, g):
    kind = rng.choice(("box", "box", "tri", "quad"))
    z0 = rng.randint(0, g - 1)
    h = rng.randint(1, g - z0)
    if kind == "box":
        x0, y0 = rng.randint(0, g - 1), rng.randint(0, g - 1)
        return ("box", rng.randint(1, g - x0), rng.randint(1, g - y0), h, (x0, y0, z0))
    if kind == "tri":
        while True:
            pts = [(rng.randint(0, g), rng.randint(0, g)) for _ in range(3)]
            if not _collinear(*pts):
                break
        return ("prism", tuple(pts), h, z0)
    return ("prism", tuple(_simple_quad(rng, g)), h, z0)


def program(seed, g=None):
    """A stack program: ('push', primitive), ('move', dx, dy, dz),
    ('turn', axis, quarters), ('op', name), ('all', name, k)."""
    rng = random.Random(seed)
    g = g or rng.randint(2, 4)
    steps = [("grid", g)]
    depth = 0
    for _ in range(rng.randint(2, 12)):
        r = rng.random()
        if depth < 2 or r < 0.35:
            steps.append(("push", _primitive(rng, g)))
            depth += 1
        elif r < 0.45:
            steps.append(("move", rng.randint(-1, 1), rng.randint(-1, 1), rng.randint(-1, 1)))
        elif r < 0.55:
            steps.append(("turn", rng.randint(0, 2), rng.randint(1, 3)))
        elif r < 0.85 or depth < 3:
            steps.append(("op", rng.choice(("union", "cut", "intersect"))))
            depth -= 1
        else:
            k = rng.randint(2, min(depth, 4))
            steps.append(("all", rng.choice(("union_all", "cut_all")), k))
            depth -= k - 1
    while depth > 1:
        steps.append(("op", rng.choice(("union", "union", "cut", "intersect"))))
        depth -= 1
    return steps


def _make(prim):
    if prim[0] == "box":
        _, dx, dy, dz, at = prim
        return cv.box(dx, dy, dz).translate(*at)
    _, pts, h, z0 = prim
    return cv.prism(list(pts), h).translate(0, 0, z0)


def run(steps, engine):
    """The solids of the program on one engine: every step's top of stack."""
    g = steps[0][1]
    stack, tops = [], []
    for step in steps[1:]:
        kind = step[0]
        if kind == "push":
            stack.append(_make(step[1]))
        elif kind == "move":
            stack.append(stack.pop().translate(*step[1:]))
        elif kind == "turn":
            stack.append(stack.pop().rotate_quarter(step[1], step[2]).translate(*_turn_shift(g, step[1], step[2])))
        elif kind == "op":
            b, a = stack.pop(), stack.pop()
            stack.append(getattr(a, step[1])(b, engine=engine))
        else:
            k = step[2]
            operands = stack[-k:]
            del stack[-k:]
            if step[1] == "union_all":
                stack.append(cv.union_all(operands, engine=engine))
            else:
                stack.append(operands[0].cut_all(operands[1:], engine=engine))
        tops.append((kind, stack[-1]))
    return tops


# --- the stored form, read back into exact polygons ---------------------------


def _varint(data, at):
    value = shift = 0
    while True:
        b = data[at]
        at += 1
        value |= (b & 0x7F) << shift
        shift += 7
        if b < 0x80:
            return value, at


def polygons(solid):
    """The solid's polygons as lists of exact (x, y, z) Fraction triples, in
    loop order, with each polygon's plane (normal, offset)."""
    data = solid.to_bytes()
    at = 16
    count, at = _varint(data, at)
    values = []
    for _ in range(count):
        tag = data[at]
        at += 1
        if tag == 0:
            z, at = _varint(data, at)
            num = (z >> 1) ^ -(z & 1)
            den, at = _varint(data, at)
        else:
            parts = []
            for _ in range(2):
                n, at = _varint(data, at)
                parts.append(int.from_bytes(data[at : at + n], "little"))
                at += n
            num, den = (-parts[0] if tag == 2 else parts[0]), parts[1]
        values.append(Fraction(num, den))
    count, at = _varint(data, at)
    for _ in range(count):
        n, at = _varint(data, at)
        at += n
    points, planes, out = [], [], []
    count, at = _varint(data, at)
    for _ in range(count):
        idx = []
        for _ in range(3):
            i, at = _varint(data, at)
            idx.append(values[i])
        points.append(tuple(idx))
    count, at = _varint(data, at)
    for _ in range(count):
        idx = []
        for _ in range(4):
            i, at = _varint(data, at)
            idx.append(values[i])
        planes.append(idx)
    count, at = _varint(data, at)
    for _ in range(count):
        plane, at = _varint(data, at)
        _, at = _varint(data, at)
        n, at = _varint(data, at)
        loop = []
        for _ in range(n):
            i, at = _varint(data, at)
            loop.append(points[i])
        out.append((loop, planes[plane]))
    assert struct.unpack_from("<Q", data, 8)[0] == len(data) - 24
    return out


# --- an exact ray-parity classifier -------------------------------------------


class _Face:
    """A polygon in integers: plane N . x = W, vertices V / Q projected along
    the axis where N is largest."""

    def __init__(self, loop, plane):
        scale = lcm(*(c.denominator for c in plane))
        self.n = [int(c * scale) for c in plane[:3]]
        self.w = int(plane[3] * scale)
        self.q = lcm(*(c.denominator for p in loop for c in p))
        k = max(range(3), key=lambda a: abs(self.n[a]))
        self.i, self.j = [a for a in range(3) if a != k]
        self.v = [(int(p[self.i] * self.q), int(p[self.j] * self.q)) for p in loop]

    def locate(self, h, e):
        """'in', 'edge' or 'out' for the point h / e (e > 0) of the plane."""
        hx, hy = h[self.i] * self.q, h[self.j] * self.q
        inside = False
        m = len(self.v)
        for t in range(m):
            ax, ay = self.v[t]
            bx, by = self.v[(t + 1) % m]
            ax, ay, bx, by = ax * e, ay * e, bx * e, by * e
            cross = (bx - ax) * (hy - ay) - (by - ay) * (hx - ax)
            if cross == 0 and min(ax, bx) <= hx <= max(ax, bx) and min(ay, by) <= hy <= max(ay, by):
                return "edge"
            if (ay > hy) != (by > hy) and (cross > 0) == (by > ay):
                inside = not inside
        return "in" if inside else "out"


def _integer_point(p):
    d = lcm(*(c.denominator for c in p))
    return [int(c * d) for c in p], d


def classify(faces, p, rng):
    """'inside', 'outside' or 'boundary' of the exact point p against the
    closed polygon set, by the parity of a ray's crossings; a ray that meets
    an edge, a vertex or runs in a face's plane is drawn again."""
    pp, d = _integer_point(p)
    for f in faces:
        if sum(a * b for a, b in zip(f.n, pp)) == f.w * d and f.locate(pp, d) != "out":
            return "boundary"
    while True:
        ray = [rng.randint(1, 10**6), rng.randint(-(10**6), 10**6), rng.randint(-(10**6), 10**6)]
        crossings, clean = 0, True
        for f in faces:
            nd = sum(a * b for a, b in zip(f.n, ray))
            tn = f.w * d - sum(a * b for a, b in zip(f.n, pp))
            if nd == 0:
                if tn == 0:
                    clean = False
                    break
                continue
            if (tn > 0) != (nd > 0) or tn == 0:
                continue
            # h = p + (tn / (d nd)) ray = (pp nd + tn ray) / (d nd)
            h = [a * nd + tn * r for a, r in zip(pp, ray)]
            e = d * nd
            if e < 0:
                h, e = [-c for c in h], -e
            where = f.locate(h, e)
            if where == "edge":
                clean = False
                break
            crossings += where == "in"
        if clean:
            return "inside" if crossings % 2 else "outside"


def _points(rng, g, count=40):
    """Rational points around the grid; the first half on grid planes."""
    out = []
    for i in range(count):
        p = [Fraction(rng.randint(-2 * 7, (g + 1) * 7), 7) + Fraction(rng.randint(0, 4), 5) for _ in range(3)]
        if i < count // 2:
            for a in rng.sample(range(3), rng.randint(1, 3)):
                p[a] = Fraction(rng.randint(0, g))
        out.append(tuple(p))
    return out


def _six_volume(mesh):
    v = mesh.exact_vertices
    total = Fraction(0)
    for a, b, c in mesh.faces.tolist():
        (ax, ay, az), (bx, by, bz), (cx, cy, cz) = v[a], v[b], v[c]
        total += ax * (by * cz - bz * cy) - ay * (bx * cz - bz * cx) + az * (bx * cy - by * cx)
    return total


def failure(steps, points=40):
    """The first mismatch of the program as a text, or None."""
    try:
        local = run(steps, None)
    except cv.KernelError as e:
        local = e
    try:
        bsp = run(steps, "bsp")
    except cv.KernelError as e:
        bsp = e
    if isinstance(local, Exception) or isinstance(bsp, Exception):
        if isinstance(local, Exception) and isinstance(bsp, Exception):
            return None
        return f"one engine refused: local {local!r}, bsp {bsp!r}"
    for n, ((kind, a), (_, b)) in enumerate(zip(local, bsp)):
        if kind not in ("op", "all"):
            continue
        if not a.is_watertight:
            return f"step {n}: local result not watertight"
        if a.volume != b.volume:
            return f"step {n}: volume {a.volume} (local) vs {b.volume} (bsp)"
        if not a.same_shape(b):
            return f"step {n}: not the same shape as the bsp result"
    a, b = local[-1][1], bsp[-1][1]
    for name, solid in (("local", a), ("bsp", b)):
        if not solid.polygon_count:
            continue
        try:
            mesh = solid.mesh()
        except cv.KernelError as e:
            return f"mesh() refused the {name} result: {e}"
        if _six_volume(mesh) != 6 * solid.volume:
            return f"mesh volume differs from the {name} solid's"
    if points:
        rng = random.Random(repr(steps))
        fa = [_Face(*p) for p in polygons(a)]
        fb = [_Face(*p) for p in polygons(b)]
        for p in _points(rng, steps[0][1], points):
            ca, cb = classify(fa, p, rng), classify(fb, p, rng)
            if ca != cb:
                return f"point {tuple(map(str, p))}: {ca} (local) vs {cb} (bsp)"
    return None


def _still_valid(steps):
    depth = 0
    for s in steps[1:]:
        if s[0] == "push":
            depth += 1
        elif s[0] in ("move", "turn"):
            if depth < 1:
                return False
        elif s[0] == "op":
            if depth < 2:
                return False
            depth -= 1
        else:
            if depth < s[2]:
                return False
            depth -= s[2] - 1
    return depth >= 1


def shrink(steps, points=40):
    """A smaller program that still fails: steps removed (and n-ary steps
    narrowed) one at a time while a failure remains."""
    best = list(steps)
    changed = True
    while changed:
        changed = False
        candidates = []
        for i in range(1, len(best)):
            candidates.append(best[:i] + best[i + 1 :])
            if best[i][0] == "all" and best[i][2] > 2:
                candidates.append(best[:i] + [best[i][:2] + (best[i][2] - 1,)] + best[i + 1 :])
            if best[i][0] == "push" and best[i][1][0] == "prism":
                # try a box in place of a prism
                candidates.append(best[:i] + [("push", ("box", 1, 1, 1, (0, 0, 0)))] + best[i + 1 :])
        for c in candidates:
            if _still_valid(c) and failure(c, points) is not None:
                best, changed = c, True
                break
    return best
