"""Prints the requirements of the project's extras, one a line, from pyproject.toml.

The Makefile installs what the demo, the tests and the checks need from here,
so pyproject.toml stays the one list of them (without building the package,
as `pip install .[test]` would). A requirement on the project itself
(`corvanthium[mesh,plot]`) is replaced by those extras' requirements; the
name `build-system` stands for the build backend's requirements, and
`dependencies` for the run-time ones.

    python3 tools/extras.py [--missing] EXTRA [EXTRA ...]

With --missing, only what the running interpreter lacks is printed: a package
that is not installed, or whose installed version differs from an `==` pin.
Other version bounds are not checked (pip resolves them when it installs).
"""

import argparse
import re
import sys
import tomllib
from importlib import metadata
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
# name, [extras], rest (version bounds and markers)
REQUIREMENT = re.compile(r"^\s*([A-Za-z0-9][A-Za-z0-9._-]*)\s*(?:\[([^\]]*)\])?\s*(.*)$")


def normalized(name):
    return re.sub(r"[-_.]+", "-", name).lower()


def requirements(pyproject, extras):
    """The requirements of `extras`, the project's own extras expanded, in order, once each.

    The name "build-system" stands for what building the project needs,
    "dependencies" for what it needs at run time.
    """
    project = pyproject["project"]
    own = normalized(project["name"])
    table = {
        **project.get("optional-dependencies", {}),
        "build-system": pyproject["build-system"]["requires"],
        "dependencies": project.get("dependencies", []),
    }
    found, seen = [], set()
    # Depth first, in the written order: a stack of the requirement lists being read.
    stack = [iter([f"{project['name']}[{','.join(extras)}]"])]
    while stack:
        requirement = next(stack[-1], None)
        if requirement is None:
            stack.pop()
            continue
        match = REQUIREMENT.match(requirement)
        if not (match and normalized(match.group(1)) == own):
            if requirement not in found:
                found.append(requirement)
            continue
        for extra in (e.strip() for e in reversed((match.group(2) or "").split(",")) if e.strip()):
            if extra in seen:
                continue
            if extra not in table:
                raise SystemExit(f"pyproject.toml has no extra {extra!r} (it has: {', '.join(sorted(table))})")
            seen.add(extra)
            stack.append(iter(table[extra]))
    return found


def is_missing(requirement):
    match = REQUIREMENT.match(requirement)
    if not match:
        return True
    name, wanted, rest = match.group(1), match.group(2), match.group(3)
    try:
        installed = metadata.version(name)
    except metadata.PackageNotFoundError:
        return True
    pin = re.match(r"^==\s*([^\s,;]+)\s*(;|$)", rest)
    if pin and pin.group(1) != installed:
        return True
    # dask[distributed]: each requirement of the named extras must be there too.
    for extra in (e.strip() for e in (wanted or "").split(",") if e.strip()):
        for line in metadata.requires(name) or []:
            marker = re.search(r"extra\s*==\s*[\"']([^\"']+)[\"']", line)
            if marker and normalized(marker.group(1)) == normalized(extra) and is_missing(line.split(";")[0]):
                return True
    return False


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--missing", action="store_true", help="print only what this interpreter lacks")
    parser.add_argument("--pyproject", type=Path, default=ROOT / "pyproject.toml")
    parser.add_argument("extras", nargs="+")
    args = parser.parse_args(argv)
    pyproject = tomllib.loads(args.pyproject.read_text())
    for requirement in requirements(pyproject, args.extras):
        if not args.missing or is_missing(requirement):
            print(requirement)


if __name__ == "__main__":
    sys.exit(main())
