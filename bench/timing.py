"""The one timing helper of the benchmark scripts."""

import statistics
import time


def median_seconds(call, runs, inner=1):
    """Median wall time of `call` over `runs` runs, each of `inner` calls averaged."""
    times = []
    for _ in range(runs):
        start = time.perf_counter()
        for _ in range(inner):
            call()
        times.append((time.perf_counter() - start) / inner)
    return statistics.median(times)
