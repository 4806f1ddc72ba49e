"""Timings of the prism builder on large outlines; prints medians.

Run with the built module on the path:  PYTHONPATH=build python3 bench/bench_builders.py
"""


import corvanthium_rs as cr
from timing import median_seconds


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


def main():
    cases = [
        ("make_prism convex 2000 points", convex(2000), 7),
        ("make_prism comb 500 points", comb(125), 15),
        ("make_prism comb 2000 points", comb(500), 7),
    ]
    for name, loop, repeats in cases:
        texts = flat(loop)
        seconds = median_seconds(lambda: cr.make_prism(texts, "1", "p"), repeats)
        print(f"{name}: median {seconds * 1000:.2f} ms over {repeats} runs")
    square = flat([(0, 0), (1, 0), (1, 1), (0, 1)])
    seconds = median_seconds(lambda: cr.make_prismatoid(square, "0", square, "1", "p"), 200)
    print(f"make_prismatoid unit square: median {seconds * 1e6:.1f} us over 200 runs")


if __name__ == "__main__":
    main()
