"""Timings of the chamfer; prints medians.

Run with the built module on the path:  PYTHONPATH=build python3 bench/bench_chamfer.py
"""


import corvanthium_rs as cr
from timing import median_seconds

L_OUTLINE = ["0", "0", "2", "0", "2", "1", "1", "1", "1", "2", "0", "2"]


def main():
    cases = [
        ("box 3 x 2 x 1, dist 1/10", cr.make_box("3", "2", "1", "b"), 21),
        ("box 10 x 1 x 1, dist 1/10", cr.make_box("10", "1", "1", "b"), 21),
        ("L-shaped prism, dist 1/10", cr.make_prism(L_OUTLINE, "1", "l"), 21),
    ]
    for name, solid, repeats in cases:
        seconds = median_seconds(lambda: solid.chamfer("1/10"), repeats)
        print(f"chamfer {name}: median {seconds * 1000:.2f} ms over {repeats} runs")


if __name__ == "__main__":
    main()
