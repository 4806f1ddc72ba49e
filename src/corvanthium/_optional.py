"""Imports of the package's optional dependencies, with the extra that installs them."""

from __future__ import annotations

import importlib
from typing import Any


def optional_module(name: str, extra: str) -> Any:
    """The module `name`; ImportError saying which extra provides it when it is missing."""
    try:
        return importlib.import_module(name)
    except ImportError as e:
        raise ImportError(
            f"{name} is needed for this: install the package's '{extra}' extra or `pip install {name}`"
        ) from e
