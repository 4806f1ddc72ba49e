"""Checks the layering that the build relies on, by reading #include lines.

- The kernel (core, builders, bsp, canonical, chamfer, nurbs, ssi, mesh, local,
  serial, edges, bevel) never sees Python, the number-text layer (rs_entry, exact_text) or a
  front end, and never reads a number text.
- The number-text layer never sees Python; corvanthium_rs's reading of its
  texts (rs_entry) belongs to its front end and the package's grammar
  (exact_text) to the package's: each front end reads texts its own way only.
- The binder is generic: it sees neither the kernel nor a front end.
- The front ends (python_rs, python_lib) stand side by side: neither includes
  the other, and neither imports a module of the package (the package is
  built on the native part, not the other way round).

    python3 tools/check_layers.py [SRC]
"""

import re
import sys
from pathlib import Path

SRC = Path(__file__).resolve().parent.parent / "src"
KERNEL = (
    *("core", "builders", "bsp", "canonical", "chamfer", "nurbs", "ssi"),
    *("mesh", "local", "serial", "edges", "bevel"),
)
INCLUDE = re.compile(r'^\s*#\s*include\s*[<"]([^>"]+)[>"]', re.MULTILINE)

# folder -> include prefixes it must not use
FRONT_ENDS = ("python_rs", "python_lib")
TEXTS = ("rs_entry/", "exact_text/")
FORBIDDEN = {
    **{k: ("Python.h", *TEXTS, "binder/", "python_rs/", "python_lib/") for k in KERNEL},
    **{k: ("Python.h", "binder/", "python_rs/", "python_lib/") for k in ("rs_entry", "exact_text")},
    "binder": tuple(f"{k}/" for k in (*KERNEL, "rs_entry", "exact_text", *FRONT_ENDS)),
    "python_rs": ("python_lib/", "exact_text/"),
    "python_lib": ("python_rs/", "rs_entry/"),
}
PARSER_CALL = re.compile(r"\b(parse_r|parse_fraction_text)\s*\(")
PACKAGE_IMPORT = re.compile(r'"corvanthium\._(?!native\b)\w+')  # the package's modules are _private


def crossings(src):
    """Every include (or parser call) that a folder of src must not make."""
    failures = []
    for folder, banned in FORBIDDEN.items():
        for path in sorted((src / folder).glob("*")):
            text = path.read_text()
            for included in INCLUDE.findall(text):
                if included.startswith(banned):
                    failures.append(f"{path.relative_to(src)} includes {included}")
            match = PARSER_CALL.search(text)
            if folder in KERNEL and match:
                failures.append(f"{path.relative_to(src)} parses a number text ({match.group(1)})")
            if folder in FRONT_ENDS and PACKAGE_IMPORT.search(text):
                failures.append(f"{path.relative_to(src)} names a module of the package")
    return failures


def main():
    failures = crossings(Path(sys.argv[1]) if len(sys.argv) > 1 else SRC)
    for line in failures:
        print(f"layer check: {line}")
    if failures:
        sys.exit(1)
    print("layer check: the kernel, number-text layer, binder and front ends include only what their layer may")


if __name__ == "__main__":
    main()
