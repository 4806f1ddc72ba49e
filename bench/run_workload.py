"""One sample of one workload, in a process of its own (used by compare.py).

After one untimed warm-up call, times `samples` batches of the workload's
`inner` calls and prints the seconds per call of the fastest batch (the one
least disturbed by the rest of the machine).
"""

import sys
import time

from workloads import prepared


def main():
    samples = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    call, inner = prepared(sys.argv[1])
    call()
    best = float("inf")
    for _ in range(samples):
        start = time.perf_counter()
        for _ in range(inner):
            call()
        best = min(best, (time.perf_counter() - start) / inner)
    print(f"{best:.9f}")


if __name__ == "__main__":
    main()
