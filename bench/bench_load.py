"""Storing and loading solids: the size of the stored form, encode and decode
times, pickle.loads, and the time to build the same solid, for the drilled
3 x 3 and 6 x 6 plates (BSP engine). Medians.

    PYTHONPATH=build python3 bench/bench_load.py [--runs N]
"""

import argparse
import pickle
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

from plates import plate  # noqa: E402

import corvanthium as cv  # noqa: E402
from timing import median_seconds  # noqa: E402


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--runs", type=int, default=15)
    parser.add_argument("--build-runs", type=int, default=3)
    args = parser.parse_args()
    print("| solid | polygons | bytes | build ms | encode ms | decode ms | pickle.loads ms | decode / build |")
    print("| --- | ---: | ---: | ---: | ---: | ---: | ---: | ---: |")
    for k in (3, 6):
        solid = plate(k)
        data = solid.to_bytes()
        pickled = pickle.dumps(solid, protocol=pickle.HIGHEST_PROTOCOL)
        assert cv._native._from_bytes(data).canonical() == solid.canonical()
        build = median_seconds(lambda k=k: plate(k), args.build_runs)
        encode = median_seconds(solid.to_bytes, args.runs)
        decode = median_seconds(lambda data=data: cv._native._from_bytes(data), args.runs)
        loads = median_seconds(lambda pickled=pickled: pickle.loads(pickled), args.runs)
        print(
            f"| plate({k}) | {solid.polygon_count:,} | {len(data):,} | {build * 1e3:.1f} | {encode * 1e3:.2f} "
            f"| {decode * 1e3:.2f} | {loads * 1e3:.2f} | {decode / build:.3f} |"
        )


if __name__ == "__main__":
    main()
