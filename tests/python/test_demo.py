"""examples/demo.py, what `make demo` shows a new user: its claims are exact and true."""

import re
import runpy
import sys
from pathlib import Path

DEMO = Path(__file__).resolve().parents[2] / "examples" / "demo.py"


def test_the_demo_prints_exact_true_values(capsys, monkeypatch, tmp_path):
    monkeypatch.setattr(sys, "argv", [str(DEMO), str(tmp_path)])
    runpy.run_path(str(DEMO), run_name="__main__")
    out = capsys.readouterr().out
    lines = out.splitlines()

    # The package comes first, the low-level module after.
    assert lines[0].startswith("The corvanthium package")
    assert out.index("The corvanthium package") < out.index("corvanthium_rs, the low-level module")

    # The circle: every point shown is on the unit circle, the one at t = 1/2 is (3/5, 4/5).
    circle = [line for line in lines if "x^2 + y^2" in line]
    assert len(circle) >= 6
    for line in circle:
        assert line.endswith(", 1"), line
    assert any("t = 1/2" in line and "(3/5, 4/5), 1" in line for line in circle)
    assert any("['3/5', '4/5'], 1" in line for line in circle)

    # Exact values print as numbers, never as reprs or rounded floats where exactness is claimed.
    assert "Fraction(" not in out
    for line in lines:
        if "exact" in line and "float" not in line:
            assert not re.search(r"\d\.\d|e\+\d", line), line
    assert "123456789012345678901234567893" in next(line for line in lines if "moved far away, exactly: top z" in line)
    # A six-fold volume says so, next to the volume itself.
    six_fold = lines.index(next(line for line in lines if "volume6_str()" in line))
    assert "six times" in lines[six_fold] and lines[six_fold].endswith("36/1")
    assert lines[six_fold + 1].endswith(" 6")
    assert "union, cut, intersection" in out and "(15, 7, 1)" in out
