"""Long calls: a progress bar, cancelling from code, Ctrl-C and a memory budget.

A chamfer of a box with a 6 x 6 grid of square pockets takes several
seconds. In a terminal with tqdm installed (pip install corvanthium[progress])
it draws a bar once it has run for a second; Ctrl-C stops it at once. Then the
same chamfer is cancelled from code after 100 edges, and a number too big for
a small memory budget ends in MemoryError.
"""

from fractions import Fraction

import corvanthium as cv


def pocketed_box(n: int) -> cv.Solid:
    side = 2 * n + 1
    part = cv.box(side, side, 2, label="part")
    for i in range(n):
        for j in range(n):
            part = part - cv.box(1, 1, 2, label=f"pocket{i}{j}").translate(2 * i + 1, 2 * j + 1, 1)
    return part


class Cancelled(Exception):
    pass


def stop_after_100_edges(op: str, done: int, total: int) -> None:
    if done >= 100:
        raise Cancelled(f"{op}: stopped after {done} of {total} edges")


def main() -> None:
    part = pocketed_box(6)
    print(f"a part with {part.face_count} faces")
    try:
        print("chamfered:", part.chamfer(Fraction(1, 10)).face_count, "faces")
    except KeyboardInterrupt:
        print("chamfer stopped by Ctrl-C")

    previous = cv.set_progress(stop_after_100_edges)
    try:
        part.chamfer(Fraction(1, 10))
    except Cancelled as stop:
        print(stop)
    finally:
        cv.set_progress(previous)

    old = cv.set_memory_limit(16 << 20)
    try:
        cv.box(7**3_000_000, 1, 1)  # a million bytes per coordinate, copied to every corner
    except MemoryError:
        print("over the 16 MiB budget: MemoryError")
    finally:
        cv.set_memory_limit(old)


if __name__ == "__main__":
    main()
