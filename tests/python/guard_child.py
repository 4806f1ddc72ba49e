"""Runs one memory bomb in this process, for test_guard_memory.py:

    python3 guard_child.py BOMB CAP_MIB BUDGET_MIB

CAP_MIB (0: none) caps the address space before either module is imported;
BUDGET_MIB (0: the default) is set with corvanthium.set_memory_limit. Prints
the bomb's outcome ("result", "refused" or "MemoryError"), then "next ok" once a small
call after it has given the right answer."""

import resource
import sys


def big(digits):
    return "7" * digits


def big_int(digits):
    """An int of about `digits` decimal digits (made from bytes: the
    interpreter refuses to read such long decimal texts)."""
    return int.from_bytes(b"\x77" * (digits * 10 // 24), "little")


class Claims:
    """A sequence that claims 2^40 items."""

    def __len__(self):
        return 1 << 40

    def __getitem__(self, i):
        if i >= 1 << 40:
            raise IndexError(i)
        return "1"


def ssi_squares(m, depth):
    square = [[["0", "0", "0"], ["0", "1", "0"]], [["1", "0", "0"], ["1", "1", "0"]]]
    return m.ssi_pairs(square, square, depth)


def scalings(m, factor_digits, times):
    s = m.make_box("1", "1", "1", "b")
    factor = big(factor_digits)
    for _ in range(times):
        s = s.scale(factor, "1", "1")
    return s.volume6_str()


def boolean_chain(m, digits, steps):
    coordinate = big(digits)
    acc = m.make_box(coordinate, coordinate, coordinate, "a")
    for i in range(steps):
        other = m.make_box(coordinate, coordinate, coordinate, f"b{i}").translate(str(i + 1), "1/3", "1/7")
        acc = acc.boolean("union", other)
    return acc.volume6_str()


def lib_scalings(cv, factor_digits, times):
    s = cv.box(1, 1, 1)
    factor = big_int(factor_digits)
    for _ in range(times):
        s = s.scale(factor, 1, 1)
    return s.volume


RS_BOMBS = {
    "box_text_66m": lambda m: m.make_box(big(66_000_000), "1", "1", "p"),
    "text_1e8": lambda m: m.make_box(big(100_000_000), "1", "1", "p").volume6_str(),
    "box_form_3x30m": lambda m: m.box_form(big(30_000_000), big(30_000_000), big(30_000_000)),
    "volume6_of_30m": lambda m: m.make_box(big(30_000_000), big(30_000_000), big(30_000_000), "p").volume6_str(),
    "scalings_40x10m": lambda m: scalings(m, 10_000_000, 40),
    "ssi_depth_9": lambda m: len(ssi_squares(m, 9)),
    "prefix_300m": lambda m: m.make_box("1", "1", "1", "p" * 300_000_000),
    "claims_2_40": lambda m: m.make_prism(Claims(), "1", "p"),
    "knots_40m": lambda m: m.nurbs_curve_eval(1, [["0", "0", "0"], ["1", "1", "1"]], ["0"] * 40_000_000, "1/2"),
    "boolean_chain_300k": lambda m: boolean_chain(m, 300_000, 12),
}
LIB_BOMBS = {
    "lib_box_int_66m": lambda cv: cv.box(big_int(66_000_000), 1, 1).volume,
    "lib_box_text_1e8": lambda cv: cv.box(big(100_000_000), 1, 1).volume,
    "lib_scalings_40x10m": lambda cv: lib_scalings(cv, 10_000_000, 40),
    "lib_ssi_depth_9": lambda cv: len(cv.ssi_pairs(*[[[[0, 0, 0], [0, 1, 0]], [[1, 0, 0], [1, 1, 0]]]] * 2, 9)),
    "lib_exponent_1e9": lambda cv: cv.box("1e1000000000", 1, 1).volume,
}


def main():
    name, cap_mib, budget_mib = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    if cap_mib:
        cap = cap_mib << 20
        resource.setrlimit(resource.RLIMIT_AS, (cap, cap))
    import corvanthium as cv
    import corvanthium_rs as cr

    if budget_mib:
        cv.set_memory_limit(budget_mib << 20)
    bomb, module = (RS_BOMBS[name], cr) if name in RS_BOMBS else (LIB_BOMBS[name], cv)
    try:
        bomb(module)
        print("result", flush=True)
    except MemoryError:
        print("MemoryError", flush=True)
    except cv.KernelError:
        print("refused", flush=True)  # an input the kernel does not take (an exponent too big)
    # The process goes on: the next calls of both modules give the right answers.
    assert cr.make_box("2", "3", "5", "b").volume6_str() == "180/1"
    assert cv.box(2, 3, 5).volume == 30
    print("next ok", flush=True)


if __name__ == "__main__":
    main()
