"""Checks that the stubs say what the built modules are (mypy's stubtest).

The native modules' signatures are made from their parameter tables, so
this compares the tables with stubs/corvanthium_rs-stubs and
src/corvanthium/_native.pyi; the package's Python part is its own stub.
Runs outside the source tree, on the build in BUILD.

    python3 tools/check_api.py BUILD
"""

import os
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent


def main():
    build = Path(sys.argv[1] if len(sys.argv) > 1 else "build").resolve()
    with tempfile.TemporaryDirectory() as folder:
        stubs = Path(folder) / "stubs"
        stubs.mkdir()
        shutil.copy(ROOT / "stubs" / "corvanthium_rs-stubs" / "__init__.pyi", stubs / "corvanthium_rs.pyi")
        env = {**os.environ, "PYTHONPATH": str(build), "MYPYPATH": str(stubs)}
        command = [sys.executable, "-m", "mypy.stubtest", "corvanthium", "corvanthium_rs"]
        sys.exit(subprocess.run(command, cwd=folder, env=env).returncode)


if __name__ == "__main__":
    main()
