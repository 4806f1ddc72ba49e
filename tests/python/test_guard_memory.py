"""Memory bombs end in MemoryError or a result, never in a dead process: each
runs in a child process under an address-space cap (256 MiB, 1 GiB), or
without a cap under a 1 GiB budget, and a call after it must work.

The caps cannot be set under the sanitizers' runtime: `make sanitize`
deselects these tests (marker address_space, and "memory" in the name)."""

import os
import signal
import subprocess
import sys
from pathlib import Path

import pytest

sys.path.insert(0, str(Path(__file__).resolve().parent))
from guard_child import LIB_BOMBS, RS_BOMBS  # noqa: E402

CHILD = Path(__file__).resolve().parent / "guard_child.py"
SETTINGS = {"cap256": (256, 0), "cap1024": (1024, 0), "budget1024": (0, 1024)}  # (cap MiB, budget MiB)
ALL_BOMBS = sorted(RS_BOMBS) + sorted(LIB_BOMBS)
# Under the small cap every bomb ends within seconds; under the larger cap or
# the budget alone the huge number texts take minutes to read, so by default
# only these run there (CORVANTHIUM_ALL_BOMBS=1 runs every pair).
QUICK = {
    "cap256": ALL_BOMBS,
    "cap1024": ["ssi_depth_9", "prefix_300m", "lib_ssi_depth_9"],
    "budget1024": ["lib_exponent_1e9", "lib_box_int_66m", "claims_2_40"],
}


def cases():
    every = os.environ.get("CORVANTHIUM_ALL_BOMBS") == "1"
    for setting, chosen in QUICK.items():
        for name in ALL_BOMBS if every else chosen:
            yield pytest.param(name, *SETTINGS[setting], id=f"{name}-{setting}")


def run_child(name, cap_mib, budget_mib):
    env = {**os.environ, "CORVANTHIUM_PROGRESS": "0"}
    return subprocess.run(
        [sys.executable, str(CHILD), name, str(cap_mib), str(budget_mib)],
        capture_output=True,
        text=True,
        timeout=600,
        env=env,
    )


@pytest.mark.address_space
@pytest.mark.parametrize(("name", "cap_mib", "budget_mib"), list(cases()))
def test_memory_bomb_leaves_the_process_working(name, cap_mib, budget_mib):
    done = run_child(name, cap_mib, budget_mib)
    died = -done.returncode if done.returncode < 0 else 0
    assert died not in (signal.SIGABRT, signal.SIGKILL, signal.SIGSEGV), done.stderr[-2000:]
    assert done.returncode == 0, done.stderr[-2000:]
    lines = done.stdout.split()
    assert lines[0] in ("result", "refused", "MemoryError")
    assert "next" in lines and "ok" in lines


@pytest.mark.address_space
def test_memory_budget_is_set_and_restored():
    import corvanthium as cv

    previous = cv.set_memory_limit(1 << 30)
    try:
        assert cv.set_memory_limit(1 << 20) == 1 << 30
        with pytest.raises(MemoryError, match=r"budget .*\(1048576 bytes; corvanthium.set_memory_limit"):
            cv.box(7**3_000_000, 1, 1)
        assert cv.box(2, 3, 5).volume == 30  # small numbers stay under any budget
        with pytest.raises(ValueError):
            cv.set_memory_limit(0)
        with pytest.raises(TypeError):
            cv.set_memory_limit("1 GiB")
    finally:
        cv.set_memory_limit(previous)
    assert cv.set_memory_limit(None) is None
