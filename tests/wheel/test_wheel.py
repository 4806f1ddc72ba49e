"""The built wheel, installed into a new virtual environment: what a user on
another machine gets. `make wheel` builds it into dist/ and `make test-wheel`
runs these (CORVANTHIUM_WHEEL names another wheel). They start processes and
install packages, so they stay out of the sanitizer pass.
"""

import os
import platform
import re
import subprocess
import sys
import tomllib
import zipfile
from pathlib import Path

import pytest

ROOT = Path(__file__).resolve().parents[2]


def the_wheel():
    named = os.environ.get("CORVANTHIUM_WHEEL")
    wheels = [Path(named)] if named else sorted((ROOT / "dist").glob("corvanthium-*.whl"))
    assert len(wheels) == 1, f"expected one wheel in dist/ (make wheel), found {wheels}"
    return wheels[0]


def pinned(name):
    dev = tomllib.loads((ROOT / "pyproject.toml").read_text())["project"]["optional-dependencies"]["dev"]
    return next(r for r in dev if r.startswith(name + "=="))


def run(command, cwd, **kwargs):
    """Runs outside the source tree, without the caller's module path."""
    env = {k: v for k, v in os.environ.items() if k not in ("PYTHONPATH", "MYPYPATH", "PYTHONHOME")}
    return subprocess.run(command, cwd=cwd, env=env, capture_output=True, text=True, **kwargs)


@pytest.fixture(scope="module")
def wheel():
    return the_wheel()


@pytest.fixture(scope="module")
def venv(tmp_path_factory, wheel):
    """A new virtual environment with the wheel (and mypy, for the type checks) installed."""
    env = tmp_path_factory.mktemp("venv")
    subprocess.run([sys.executable, "-m", "venv", str(env)], check=True)
    python = env / "bin" / "python"
    done = run([python, "-m", "pip", "install", "-q", str(wheel), pinned("mypy")], cwd=env)
    assert done.returncode == 0, done.stderr
    return python


@pytest.fixture
def outside(tmp_path):
    """A folder that is neither the source tree nor the environment."""
    return tmp_path


def test_the_wheel_is_one_abi3_manylinux_wheel_with_both_packages_stubs_and_notices(wheel):
    assert re.fullmatch(rf"corvanthium-[\d.]+-cp311-abi3-manylinux_\d+_\d+_{platform.machine()}\.whl", wheel.name)
    names = zipfile.ZipFile(wheel).namelist()
    info = next(n.split("/")[0] for n in names if n.endswith(".dist-info/METADATA"))
    for name in [
        "corvanthium_rs.abi3.so",
        "corvanthium/_native.abi3.so",
        "corvanthium/__init__.py",
        "corvanthium/_native.pyi",
        "corvanthium/py.typed",
        "corvanthium_rs-stubs/__init__.pyi",
        f"{info}/licenses/LICENSE",
        f"{info}/licenses/NOTICE",
        f"{info}/licenses/licenses/GMP-LGPL-3",
        f"{info}/licenses/licenses/GMP-GPL-3",
    ]:
        assert name in names, name
    assert any(re.fullmatch(r"corvanthium\.libs/libgmp-[0-9a-f]+\.so[\d.]*", n) for n in names), names
    # Nothing else at the top: no tests, sources or build files.
    tops = {n.split("/")[0] for n in names}
    assert tops == {"corvanthium_rs.abi3.so", "corvanthium", "corvanthium_rs-stubs", "corvanthium.libs", info}, tops

    metadata = zipfile.ZipFile(wheel).read(f"{info}/METADATA").decode()
    assert "Name: corvanthium\n" in metadata
    assert "License-Expression: Apache-2.0\n" in metadata
    always = [line for line in metadata.splitlines() if line.startswith("Requires-Dist:") and "extra ==" not in line]
    assert always == ["Requires-Dist: numpy"]
    extras = {line.split(": ")[1] for line in metadata.splitlines() if line.startswith("Provides-Extra:")}
    assert {"mesh", "plot", "dask", "progress", "test", "dev"} <= extras


def test_both_modules_import_and_compute_from_another_folder(venv, outside):
    script = """
import corvanthium as cv, corvanthium_rs as cr, sys
a, b = cv.box(2, 2, 2), cv.box(2, 2, 2).translate(1, 1, 1)
print((a - b).volume, cr.make_box("2", "2", "2", "a").boolean("cut", cr.make_box("2", "2", "2", "b")
    .translate("1", "1", "1")).volume6_str())
print(cv.__file__); print(cr.__file__); print(sys.prefix)
"""
    done = run([venv, "-c", script], cwd=outside)
    assert done.returncode == 0, done.stderr
    result, package, module, prefix = done.stdout.splitlines()
    assert result == "7 42/1"
    for path in (package, module):
        assert Path(path).is_relative_to(prefix) and "site-packages" in path, path


def test_gmp_is_the_copy_inside_the_wheel_and_the_one_the_notice_names(venv, outside):
    script = """
import corvanthium._native, corvanthium_rs
print(corvanthium_rs.__file__); print(corvanthium._native.__file__)
"""
    done = run([venv, "-c", script], cwd=outside)
    assert done.returncode == 0, done.stderr
    gmp_copies = set()
    for extension in done.stdout.split():
        linked = run(["ldd", extension], cwd=outside).stdout
        assert "not found" not in linked, linked
        gmp = [os.path.realpath(line.split("=>")[1].split()[0]) for line in linked.splitlines() if "libgmp" in line]
        assert len(gmp) == 1 and "/site-packages/corvanthium.libs/libgmp-" in gmp[0], linked
        gmp_copies.add(gmp[0])
    assert len(gmp_copies) == 1
    # The bundled library reports its own version; NOTICE must name that one.
    version = run(
        [
            venv,
            "-c",
            f"import ctypes; print(ctypes.c_char_p.in_dll(ctypes.CDLL({gmp_copies.pop()!r}), '__gmp_version')"
            ".value.decode())",
        ],
        cwd=outside,
    )
    assert version.returncode == 0, version.stderr
    assert f"GMP {version.stdout.strip()} build" in (ROOT / "NOTICE").read_text()


def test_the_shipped_stubs_match_the_module(venv, outside):
    done = run([venv, "-m", "mypy.stubtest", "corvanthium_rs", "corvanthium"], cwd=outside)
    assert done.returncode == 0, done.stdout + done.stderr


def test_mypy_strict_sees_both_packages_types(venv, outside):
    good = outside / "good.py"
    good.write_text(
        "import corvanthium as cv\nimport corvanthium_rs as cr\n"
        "def volumes() -> tuple[str, str]:\n"
        "    return str(cv.box(1, 2, '1/3').volume), cr.make_box('1', '2', '3', 'b').volume6_str()\n"
    )
    done = run([venv, "-m", "mypy", "--strict", "--no-incremental", str(good)], cwd=outside)
    assert done.returncode == 0, done.stdout + done.stderr
    # Wrong calls are caught in both: proof the types come from the stubs, not Any.
    bad = outside / "bad.py"
    bad.write_text(
        "import corvanthium as cv\nimport corvanthium_rs as cr\ncv.box(0.5, 1, 1)\ncr.make_box(1, '1', '1', 'b')\n"
    )
    done = run([venv, "-m", "mypy", "--strict", "--no-incremental", str(bad)], cwd=outside)
    assert done.returncode == 1
    assert re.search(r"bad\.py:3: error: .*\[arg-type\]", done.stdout), done.stdout
    assert re.search(r"bad\.py:4: error: .*\[arg-type\]", done.stdout), done.stdout
