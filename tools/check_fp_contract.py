"""Checks that every compile command of the project pins floating-point contraction off.

The float screens (the split's side screen, the degeneracy screen, the ear
clipping filter) bound their rounding error one operation at a time; a fused
multiply-add or fast-math would silently change those bounds. Reads a build's
compile_commands.json and fails when a source of src/ or tests/ is compiled
without -ffp-contract=off, with a later -ffp-contract other than off, or with
a fast-math flag, or when a source file of src/ has no compile command at all.

    python3 tools/check_fp_contract.py build/compile_commands.json
"""

import json
import shlex
import sys
from pathlib import Path

REPO = Path(__file__).resolve().parent.parent
FORBIDDEN = ("-ffast-math", "-Ofast", "-funsafe-math-optimizations", "-fassociative-math")


def problems(entry):
    args = entry.get("arguments") or shlex.split(entry["command"])
    contract = [a for a in args if a.startswith("-ffp-contract=")]
    found = []
    if not contract or contract[-1] != "-ffp-contract=off":
        found.append(f"ends with {contract[-1] if contract else 'no -ffp-contract flag'}")
    found += [f"has {a}" for a in args if a in FORBIDDEN]
    return found


def check(entries, repo, database="compile_commands.json"):
    """The failures of one compile database (a list of entries) for the tree at repo."""
    compiled = set()
    failures = []
    for entry in entries:
        source = Path(entry["directory"], entry["file"]).resolve()
        try:
            relative = source.relative_to(repo)
        except ValueError:
            continue
        if relative.parts[0] not in ("src", "tests"):
            continue
        compiled.add(relative)
        failures += [f"{relative}: {p}" for p in problems(entry)]
    missing = sorted(p.relative_to(repo) for p in (repo / "src").rglob("*.cpp") if p.relative_to(repo) not in compiled)
    failures += [f"{p}: no compile command in {database}" for p in missing]
    return compiled, failures


def main():
    database = Path(sys.argv[1] if len(sys.argv) > 1 else "build/compile_commands.json")
    compiled, failures = check(json.loads(database.read_text()), REPO, database)
    for line in failures:
        print(f"fp-contract check: {line}")
    if failures:
        sys.exit(1)
    print(f"fp-contract check: {len(compiled)} sources, all with -ffp-contract=off and no fast-math")


if __name__ == "__main__":
    main()
