"""One sample of one workload, in a process of its own (used by compare.py).

After one untimed warm-up call, times `samples` batches of the workload's
`inner` calls and prints the median seconds per call.
"""

import sys

from timing import median_seconds
from workloads import prepared


def main():
    samples = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    call, inner = prepared(sys.argv[1])
    call()
    print(f"{median_seconds(call, samples, inner=inner):.9f}")


if __name__ == "__main__":
    main()
