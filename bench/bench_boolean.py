"""Boolean engine benchmarks: prints the median time of each workload."""

import sys
from fractions import Fraction

import corvanthium_rs as cr
from timing import median_seconds

RUNS = 7


def text(q):
    q = Fraction(q)
    return f"{q.numerator}/{q.denominator}"


def report(name, seconds):
    print(f"{name:<44} {seconds * 1e3:10.3f} ms")
    sys.stdout.flush()


def box_cut():
    cr.box_boolean("2", "2", "2", "2", "2", "2", "1", "1", "1", "cut")


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


def plate_holes():
    plate = cr.make_box("8", "8", "1", "plate")
    holes = []
    for i in range(3):
        for j in range(3):
            hole = cr.make_prism(circle_outline(2 * i + 2, 2 * j + 2), "3", f"hole{i}{j}")
            holes.append(hole.translate("0", "0", "-1"))
    for hole in holes:
        plate = plate.boolean("cut", hole)
    return plate


def twelve_box_union():
    acc = cr.make_box("1", "1", "1", "b0")
    for i in range(1, 12):
        box = cr.make_box("1", "1", "1", f"b{i}").translate(text(Fraction(i, 3)), text(Fraction(i, 5)),
                                                             text(Fraction(i, 7)))
        acc = acc.boolean("union", box)
    return acc


def main():
    report("box cut [0,2]^3 - [1,3]^3 (box_boolean)", median_seconds(box_cut, RUNS, inner=200))

    report("plate 8x8x1 minus 3x3 round holes", median_seconds(plate_holes, RUNS))

    report("union of twelve shifted unit boxes", median_seconds(twelve_box_union, RUNS))


if __name__ == "__main__":
    main()
