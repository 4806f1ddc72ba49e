"""Seeded random modelling programs, run on both front ends.

A program is a list of steps on a stack of solids: primitives (boxes, prisms,
prismatoids), transforms, Booleans and chamfers. `run_lib` runs it on the
corvanthium package, `run_rs` on the low-level corvanthium_rs module; both
return (canonical text, six-fold volume) or the word "error" when the kernel
refused the program.
"""

import random
from fractions import Fraction

import corvanthium as cv
import corvanthium_rs as cr


def text(q):
    q = Fraction(q)
    return f"{q.numerator}/{q.denominator}"


def small(rng, lo=-3, hi=3, dens=(1, 2, 3, 4)):
    return Fraction(rng.randint(lo * 4, hi * 4), rng.choice(dens))


def positive(rng):
    return Fraction(rng.randint(1, 12), rng.choice((1, 2, 3, 4)))


def outline(rng, aligned):
    """A counter-clockwise L shape (aligned) or convex polygon, with rational corners."""
    if aligned:
        w, h, a = positive(rng), positive(rng), Fraction(rng.randint(1, 3), 4)
        return [(0, 0), (w, 0), (w, h * a), (w * a, h * a), (w * a, h), (0, h)]
    n = rng.randint(3, 7)
    r = positive(rng)
    pts = []
    for j in range(n):  # rational points on a circle, by the tangent half-angle form
        t = Fraction(2 * j - n + 1, n + 1) * 2
        pts.append((r * (1 - t * t) / (1 + t * t), r * 2 * t / (1 + t * t)))
    pts.sort(key=lambda p: _angle_key(p))
    return pts


def _angle_key(p):
    x, y = p
    half = 0 if (y > 0 or (y == 0 and x > 0)) else 1
    return (half, -x / (abs(x) + abs(y)) if half == 0 else x / (abs(x) + abs(y)))


def primitive(rng):
    """A primitive step, and whether all its faces are axis-aligned (so a chamfer is exact)."""
    kind = rng.choice(("box", "box", "prism", "prism", "prismatoid"))
    label = f"p{rng.randint(0, 99)}"
    if kind == "box":
        return ("box", positive(rng), positive(rng), positive(rng), label), True
    if kind == "prism":
        aligned = rng.random() < 0.5
        return ("prism", outline(rng, aligned), positive(rng), label), aligned
    s, z0 = positive(rng), small(rng)
    bottom = [(0, 0), (s, 0), (s, s), (0, s)]
    k = Fraction(
        rng.randint(1, 2), 4
    )  # a smaller square on top, or an apex (k = 3/4 turns the top half round: no solid)
    top = [(s * k, s * k), (s - s * k, s * k), (s - s * k, s - s * k), (s * k, s - s * k)]
    return ("prismatoid", bottom, z0, top, z0 + positive(rng), label), False


def transform(rng):
    kind = rng.choice(("translate", "scale", "scale3", "mirror", "rotate"))
    if kind == "translate":
        return ("translate", small(rng), small(rng), small(rng))
    if kind == "scale":
        return ("scale", positive(rng) * rng.choice((1, -1)))
    if kind == "scale3":
        return ("scale3", positive(rng), positive(rng), positive(rng) * rng.choice((1, -1)))
    if kind == "mirror":
        return ("mirror", rng.randint(0, 2))
    return ("rotate", rng.randint(0, 2), rng.randint(-5, 5))


def program(seed, steps=None):
    """The program of a seed: a primitive, then steps of transforms, Booleans
    with fresh (transformed) primitives, and at most one chamfer."""
    rng = random.Random(seed)
    first, aligned = primitive(rng)
    out = [("push",) + first]
    chamfered = False
    for _ in range(steps if steps is not None else rng.randint(1, 5)):
        r = rng.random()
        if r < 0.3:
            out.append(transform(rng))
        elif r < 0.8 or chamfered or not aligned:
            step, step_aligned = primitive(rng)
            aligned = aligned and step_aligned
            out.append(("push",) + step)
            out.append(transform(rng))
            out.append((rng.choice(("union", "cut", "intersect")),))
        else:
            chamfered = True
            out.append(("chamfer", Fraction(1, rng.choice((10, 20, 50)))))
    return out


def _lib_step(stack, step, engine):
    kind = step[0]
    if kind == "push":
        shape = step[1]
        if shape == "box":
            _, _, dx, dy, dz, label = step
            stack.append(cv.box(dx, dy, dz, label=label))
        elif shape == "prism":
            _, _, pts, h, label = step
            stack.append(cv.prism(pts, h, label=label))
        else:
            _, _, bottom, z0, top, z1, label = step
            stack.append(cv.prismatoid(bottom, z0, top, z1, label=label))
        return
    s = stack.pop()
    if kind == "translate":
        stack.append(s.translate(*step[1:]))
    elif kind == "scale":
        stack.append(s.scale(step[1]))
    elif kind == "scale3":
        stack.append(s.scale(*step[1:]))
    elif kind == "mirror":
        stack.append(s.mirror(step[1]))
    elif kind == "rotate":
        stack.append(s.rotate_quarter(step[1], step[2]))
    elif kind == "chamfer":
        stack.append(s.chamfer(step[1], method="cutters"))
    else:
        a = stack.pop()
        stack.append(getattr(a, kind)(s, engine=engine))


def _flat(points):
    return [text(c) for p in points for c in p]


def _rs_step(stack, step):
    kind = step[0]
    if kind == "push":
        shape = step[1]
        if shape == "box":
            _, _, dx, dy, dz, label = step
            stack.append(cr.make_box(text(dx), text(dy), text(dz), label))
        elif shape == "prism":
            _, _, pts, h, label = step
            stack.append(cr.make_prism(_flat(pts), text(h), label))
        else:
            _, _, bottom, z0, top, z1, label = step
            stack.append(cr.make_prismatoid(_flat(bottom), text(z0), _flat(top), text(z1), label))
        return
    s = stack.pop()
    if kind == "translate":
        stack.append(s.translate(*(text(v) for v in step[1:])))
    elif kind == "scale":
        stack.append(s.scale(text(step[1]), text(step[1]), text(step[1])))
    elif kind == "scale3":
        stack.append(s.scale(*(text(v) for v in step[1:])))
    elif kind == "mirror":
        stack.append(s.mirror(step[1]))
    elif kind == "rotate":
        stack.append(s.rotate_quarter(step[1], step[2]))
    elif kind == "chamfer":
        stack.append(s.chamfer(text(step[1])))
    else:
        a = stack.pop()
        stack.append(_rs_boolean(a, kind, s))


def _rs_boolean(a, kind, b):
    """The low-level module's Boolean, but with an empty operand read as the
    empty set, as the package's BSP engine reads it (the module itself reads
    it as all of space: an intersection with it gives the other operand)."""
    if a.canonical() and b.canonical():
        return a.boolean(kind, b)
    if kind == "union":
        return b if not a.canonical() else a
    if kind == "cut":
        return a
    return cr.make_box("0", "0", "0", "empty")


def build_lib(prog, engine="bsp"):
    """The corvanthium solid of a program (raises what the kernel raises)."""
    stack = []
    for step in prog:
        _lib_step(stack, step, engine)
    return stack[-1]


def run_lib(prog, engine="bsp"):
    try:
        s = build_lib(prog, engine)
    except cv.KernelError:
        return "error"
    return s.canonical(), s.volume * 6


def run_rs(prog):
    stack = []
    try:
        for step in prog:
            _rs_step(stack, step)
    except ValueError:
        return "error"
    except BaseException as e:  # the low-level module's PanicException
        if type(e).__name__ != "PanicException":
            raise
        return "error"
    s = stack[-1]
    return s.canonical(), Fraction(s.volume6_str())
