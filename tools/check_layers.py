"""Checks the layering that the build relies on, by reading #include lines.

- The kernel (core, builders, bsp, topology, chamfer, nurbs, ssi, mesh, local)
  never sees Python, the entry layer or a front end, and never reads a number
  text.
- The entry layer never sees Python.
- The binder is generic: it sees neither the kernel nor a front end.

    python3 tools/check_layers.py [SRC]
"""

import re
import sys
from pathlib import Path

SRC = Path(__file__).resolve().parent.parent / "src"
KERNEL = ("core", "builders", "bsp", "topology", "chamfer", "nurbs", "ssi", "mesh", "local")
INCLUDE = re.compile(r'^\s*#\s*include\s*[<"]([^>"]+)[>"]', re.MULTILINE)

# folder -> include prefixes it must not use
FORBIDDEN = {
    **{k: ("Python.h", "entry/", "binder/", "rs/") for k in KERNEL},
    "entry": ("Python.h", "binder/", "rs/"),
    "binder": tuple(f"{k}/" for k in (*KERNEL, "entry", "rs")),
}
PARSER_CALL = re.compile(r"\bparse_r\s*\(")


def crossings(src):
    """Every include (or parser call) that a folder of src must not make."""
    failures = []
    for folder, banned in FORBIDDEN.items():
        for path in sorted((src / folder).glob("*")):
            text = path.read_text()
            for included in INCLUDE.findall(text):
                if included.startswith(banned):
                    failures.append(f"{path.relative_to(src)} includes {included}")
            if folder in KERNEL and PARSER_CALL.search(text):
                failures.append(f"{path.relative_to(src)} parses a number text (parse_r)")
    return failures


def main():
    failures = crossings(Path(sys.argv[1]) if len(sys.argv) > 1 else SRC)
    for line in failures:
        print(f"layer check: {line}")
    if failures:
        sys.exit(1)
    print("layer check: the kernel, entry layer and binder include only what their layer may")


if __name__ == "__main__":
    main()
