"""STEP out and in: the 36-hole plate of bench_parts.py (box(62, 62, 5) minus 36 cylinders of 24 sides)
written to STEP and to OCCT's BREP, and read back with load_step. Medians; OCCT's first
import is timed apart. Needs the 'step' extra.

    PYTHONPATH=build python3 bench/bench_step.py [--runs 3]
"""

import argparse
import tempfile
import time
from pathlib import Path

from bench_parts import plate

import corvanthium as cv
from timing import median_seconds


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--runs", type=int, default=3)
    runs = parser.parse_args().runs
    part = plate()
    with tempfile.TemporaryDirectory() as folder:
        step, brep = Path(folder) / "plate.step", Path(folder) / "plate.brep"
        start = time.perf_counter()
        part.export(step)
        first = time.perf_counter() - start
        rows = [
            ("first export (OCCT loads)", first),
            ("export .step", median_seconds(lambda: part.export(step), runs)),
            ("export .brep", median_seconds(lambda: part.export(brep), runs)),
            ("load_step", median_seconds(lambda: cv.load_step(step), runs)),
        ]
        for name, seconds in rows:
            print(f"{name:28s} {seconds:8.3f} s")
        print(f"{'file size':28s} {step.stat().st_size / 1e6:8.2f} MB")


if __name__ == "__main__":
    main()
