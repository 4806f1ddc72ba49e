"""Type-checks the examples (and the package) with mypy --strict.

The package's own stub (src/corvanthium/_native.pyi) is found through
src/; the low-level module's stub-only package (stubs/corvanthium_rs-stubs)
is laid out as a plain stub in a temporary folder, since mypy reads stub-only
packages from site-packages only.

    python3 tools/check_types.py [PATH ...]
"""

import os
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent


def main():
    targets = sys.argv[1:] or ["examples", "src/corvanthium"]
    with tempfile.TemporaryDirectory() as stubs:
        shutil.copy(ROOT / "stubs" / "corvanthium_rs-stubs" / "__init__.pyi", Path(stubs) / "corvanthium_rs.pyi")
        env = {**os.environ, "MYPYPATH": os.pathsep.join([str(ROOT / "src"), stubs])}
        command = [sys.executable, "-m", "mypy", "--strict", "--no-incremental", *targets]
        sys.exit(subprocess.run(command, cwd=ROOT, env=env).returncode)


if __name__ == "__main__":
    main()
