"""Long calls release the interpreter lock, and threads sharing solids get
the results one thread gets."""

import subprocess
import sys
import threading
import time
from concurrent.futures import ThreadPoolExecutor

import pytest

import corvanthium as cv
import lib_programs as lp


def drilled(n):
    """A plate with n x n square holes: enough polygons for calls of a few ms."""
    p = cv.box(2 * n + 2, 2 * n + 2, 1)
    for i in range(n):
        for j in range(n):
            p = p - cv.box(1, 1, 3).translate(2 * i + 1, 2 * j + 1, -1)
    return p


PLATE = drilled(5)
SMALL = drilled(2)
OTHER = PLATE.translate("1/3", "1/5", "1/7")
NET = [[[0, 0, 0], [0, 1, 0]], [[1, 0, 1], [1, 1, 1]]]
FLAT = [[[0, 0, "1/2"], [0, 1, "1/2"]], [[1, 0, "1/2"], [1, 1, "1/2"]]]

LONG_CALLS = {
    "union": lambda: PLATE | OTHER,
    "cut": lambda: PLATE.cut(OTHER),
    "intersect": lambda: PLATE.intersect(OTHER, engine="bsp"),
    "chamfer": lambda: SMALL.chamfer("1/20"),
    "transforms": lambda: [PLATE.translate(1, 2, 3).scale(2).rotate_quarter("z").mirror(0) for _ in range(20)],
    "measures": lambda: [(PLATE.volume, PLATE.face_count, PLATE.is_watertight, PLATE.canonical()) for _ in range(20)],
    "ssi": lambda: [cv.ssi_pairs(NET, FLAT, 7) for _ in range(5)],
}


def ticks_during(call, seconds):
    """Repeats call until a sleeping thread has woken during one of them (or
    the time is up) and returns how often it woke during that call. With
    time-sliced switching pushed out to 30 s, that thread can only wake and
    count while the caller has released the lock. (Counting how far a busy
    thread gets instead depends on how soon a loaded machine schedules it.)"""
    count = [0]
    stop = threading.Event()

    def tick():
        while not stop.is_set():
            count[0] += 1
            time.sleep(0.0001)  # releases the lock, so the caller always gets it back

    ticker = threading.Thread(target=tick)
    ticker.start()
    interval = sys.getswitchinterval()
    sys.setswitchinterval(30)
    try:
        progressed = 0
        deadline = time.monotonic() + seconds
        while progressed == 0 and time.monotonic() < deadline:
            before = count[0]
            call()
            progressed = count[0] - before
    finally:
        sys.setswitchinterval(interval)
        stop.set()
        ticker.join()
    return progressed


@pytest.mark.parametrize("name", sorted(LONG_CALLS))
def test_long_calls_let_other_threads_run(name):
    assert ticks_during(LONG_CALLS[name], 10) > 0


def test_the_low_level_module_keeps_the_lock():
    """The check above can fail: the low-level module holds the lock."""
    import corvanthium_rs as cr

    a = cr.make_box("0", "0", "0", "4")
    b = cr.make_box("1/3", "1/5", "1/7", "4")
    assert ticks_during(lambda: a.boolean("intersect", b), 0.5) == 0


def test_threads_sharing_solids_agree_with_one_thread():
    def work(_):
        return [(PLATE | OTHER).canonical(), SMALL.chamfer("1/20").volume, (PLATE & OTHER).volume]

    expected = work(None)
    with ThreadPoolExecutor(max_workers=4) as pool:
        results = list(pool.map(work, range(6)))
    assert all(r == expected for r in results)


def test_threads_running_different_programs_agree_with_one_thread():
    seeds = range(40)
    expected = [lp.run_lib(lp.program(s)) for s in seeds]
    with ThreadPoolExecutor(max_workers=3) as pool:
        results = list(pool.map(lambda s: lp.run_lib(lp.program(s)), seeds))
    assert results == expected


def test_large_solids_are_freed_safely_from_many_threads():
    """Large solids are freed without the lock; many threads dropping them at
    once, and a drop at interpreter exit, stay safe."""
    big = drilled(9)
    assert big.polygon_count >= 512  # large enough to be freed without the lock

    def churn(i):
        keep = None
        for _ in range(4):
            keep = big.translate(i, 0, 0) | big.translate(i, "1/2", 0)
        return keep.volume

    with ThreadPoolExecutor(max_workers=4) as pool:
        volumes = list(pool.map(churn, range(8)))
    assert len(set(volumes)) == 1
    script = (
        "import threading, time, corvanthium as cv\n"
        "p = cv.box(20, 20, 1)\n"
        "for i in range(9):\n"
        "    for j in range(9):\n"
        "        p = p - cv.box(1, 1, 3).translate(2 * i + 1, 2 * j + 1, -1)\n"
        "held = [p.translate(k, 0, 0) for k in range(3)]\n"
        "threading.Thread(target=lambda: (time.sleep(0.05), [s.scale(2) for s in held]), daemon=True).start()\n"
    )
    done = subprocess.run([sys.executable, "-c", script], capture_output=True, text=True, timeout=120)
    assert done.returncode == 0, done.stderr
