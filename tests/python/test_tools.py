"""The lint checks of tools/: they must fail on what they exist to catch."""

import re
import sys
from pathlib import Path

import pytest

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tools"))

import check_fp_contract  # noqa: E402
import check_layers  # noqa: E402
import extras  # noqa: E402


@pytest.fixture
def tree(tmp_path):
    """A minimal source tree: one kernel source and one test source."""
    (tmp_path / "src" / "core").mkdir(parents=True)
    (tmp_path / "src" / "core" / "a.cpp").write_text('#include "core/a.h"\n')
    (tmp_path / "tests").mkdir()
    (tmp_path / "tests" / "t.cpp").write_text("")
    return tmp_path


def entry(tree, path, flags):
    return {"directory": str(tree), "file": path, "command": f"g++ -O2 {flags} -c {path}"}


def test_fp_contract_accepts_pinned_flags_and_refuses_the_rest(tree):
    good = "-ffp-contract=off -fno-fast-math"
    compiled, failures = check_fp_contract.check(
        [entry(tree, "src/core/a.cpp", good), entry(tree, "tests/t.cpp", good)], tree
    )
    assert failures == [] and len(compiled) == 2
    for flags, reason in [
        ("", "no -ffp-contract flag"),
        ("-ffp-contract=off -ffp-contract=fast", "ends with -ffp-contract=fast"),
        ("-ffp-contract=off -ffast-math", "has -ffast-math"),
        ("-ffp-contract=off -Ofast", "has -Ofast"),
    ]:
        _, failures = check_fp_contract.check([entry(tree, "src/core/a.cpp", flags)], tree)
        assert any(reason in f for f in failures), (flags, failures)
    # A source with no compile command at all is a failure too; outside files are ignored.
    _, failures = check_fp_contract.check([{"directory": "/elsewhere", "file": "x.cpp", "command": "g++"}], tree)
    assert failures == ["src/core/a.cpp: no compile command in compile_commands.json"]


@pytest.mark.parametrize(
    ("folder", "line", "expected"),
    [
        ("core", "#include <Python.h>", "core/x.cpp includes Python.h"),
        ("bsp", '#include "rs_entry/number_text.h"', "bsp/x.cpp includes rs_entry/number_text.h"),
        ("python_lib", '#include "rs_entry/number_text.h"', "python_lib/x.cpp includes rs_entry/number_text.h"),
        ("nurbs", "Rational r = parse_r(text);", "nurbs/x.cpp parses a number text (parse_r)"),
        ("exact_text", '#include "binder/py_ref.h"', "exact_text/x.cpp includes binder/py_ref.h"),
        ("binder", '#include "core/solid.h"', "binder/x.cpp includes core/solid.h"),
        ("binder", '#include "python_lib/errors.h"', "binder/x.cpp includes python_lib/errors.h"),
        ("ssi", "Rational r = parse_fraction_text(t);", "ssi/x.cpp parses a number text (parse_fraction_text)"),
        ("python_lib", '#include "python_rs/boundary.h"', "python_lib/x.cpp includes python_rs/boundary.h"),
        ("python_rs", '#include "python_lib/errors.h"', "python_rs/x.cpp includes python_lib/errors.h"),
        ("core", '#include "python_lib/errors.h"', "core/x.cpp includes python_lib/errors.h"),
        ("python_lib", 'call("corvanthium._mesh", "f");', "python_lib/x.cpp names a module of the package"),
    ],
)
def test_layer_crossings_are_found(tmp_path, folder, line, expected):
    (tmp_path / folder).mkdir()
    (tmp_path / folder / "x.cpp").write_text(line + "\n")
    assert check_layers.crossings(tmp_path) == [expected]


def test_allowed_includes_pass(tmp_path):
    (tmp_path / "rs_entry").mkdir()
    (tmp_path / "rs_entry" / "x.cpp").write_text('#include "core/rational.h"\nRational r = parse_r(t);\n')
    (tmp_path / "binder").mkdir()
    (tmp_path / "binder" / "y.cpp").write_text("#include <Python.h>\n")
    assert check_layers.crossings(tmp_path) == []
    assert check_layers.crossings(check_layers.SRC) == []


def test_extras_expand_the_projects_own_extras_once_each_in_order():
    pyproject = {
        "build-system": {"requires": ["backend>=1"]},
        "project": {
            "name": "Corv_Thing",
            "dependencies": ["numpy"],
            "optional-dependencies": {
                "mesh": ["trimesh>=4", "lxml"],
                "plot": ["matplotlib", "lxml"],
                "test": ["pytest", "corv-thing[mesh,plot]", "corv.thing[plot]"],
            },
        },
    }
    assert extras.requirements(pyproject, ["test"]) == ["pytest", "trimesh>=4", "lxml", "matplotlib"]
    assert extras.requirements(pyproject, ["dependencies", "build-system", "plot"]) == [
        "numpy",
        "backend>=1",
        "matplotlib",
        "lxml",
    ]
    with pytest.raises(SystemExit, match="no extra 'nope'"):
        extras.requirements(pyproject, ["nope"])
    # The project's own file: the extras the Makefile installs exist, and the
    # test extra brings what the optional tests import.
    own = extras.tomllib.loads((extras.ROOT / "pyproject.toml").read_text())
    makefile = (extras.ROOT / "Makefile").read_text()
    named = {e for group in re.findall(r"\.\[([a-z,-]+)\]", makefile) for e in group.split(",")}
    named |= {e for line in re.findall(r"extras\.py --missing ([a-z -]+)", makefile) for e in line.split()}
    assert named >= {"mesh", "plot", "test", "dev", "build-system", "dependencies"}
    for extra in named:
        extras.requirements(own, [extra])
    tested = {re.split(r"[\[<>=]", r)[0] for r in extras.requirements(own, ["test"])}
    assert tested >= {"pytest", "hypothesis", "manifold3d", "trimesh", "matplotlib", "dask", "tqdm"}


def test_extras_missing_checks_presence_pins_and_extras_of_installed_packages():
    version = extras.metadata.version("pytest")
    assert not extras.is_missing("pytest")
    assert not extras.is_missing(f"pytest=={version}")
    assert not extras.is_missing("pytest>=1")  # bounds are left to pip
    assert extras.is_missing("pytest==0.0.1")
    assert extras.is_missing("no-such-package-here")
    assert extras.is_missing("not a requirement!")


def test_paired_timing_refuses_builds_that_share_the_kernel_library(tmp_path):
    """One process loads the kernel's shared library once: two such builds timed in
    one process would both run the first one's kernel."""
    sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "bench"))
    from run_workload import shares_core_library

    a, b, static = tmp_path / "a", tmp_path / "b", tmp_path / "static"
    for build, name in ((a, "libcorvanthium.core.so"), (b, "libcorvanthium_core.so")):
        (build / "corvanthium").mkdir(parents=True)
        (build / "corvanthium" / name).write_bytes(b"")
    static.mkdir()
    assert shares_core_library([a, b])
    assert not shares_core_library([a, static])
    assert not shares_core_library([a])
