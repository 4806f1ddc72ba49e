"""Timing of ssi_pairs on two crossing bicubic patches.

A dome over [0, 3] x [0, 3] (heights 0, 2, 2, 0 summed along u and v) and a
wavy wall across it (y alternating between 1 and 2, z from -1 to 3) meet
along one curve, so the surviving pairs roughly double per level.

Run: PYTHONPATH=build python3 bench/bench_ssi.py [repeats]
"""
import sys

import corvanthium_rs as m
from timing import median_seconds

HEIGHTS = [0, 2, 2, 0]
WALL_Y = ["2", "1", "2", "1"]

DOME = [[[str(i), str(j), str(HEIGHTS[i] + HEIGHTS[j])] for j in range(4)] for i in range(4)]
WALL = [[[str(j), WALL_Y[i], f"{4 * i - 3}/3"] for j in range(4)] for i in range(4)]


def main():
    repeats = int(sys.argv[1]) if len(sys.argv) > 1 else 9
    for depth in (4, 5, 6):
        rows = len(m.ssi_pairs(DOME, WALL, depth))
        median = median_seconds(lambda: m.ssi_pairs(DOME, WALL, depth), repeats)
        print(f"ssi_pairs bicubic x bicubic depth {depth}: {rows} rows, "
              f"median {median * 1e3:.2f} ms over {repeats} runs")


if __name__ == "__main__":
    main()
