"""Progress bars for long calls, drawn with tqdm (the ``progress`` extra).

A call that reports progress calls the function given to
``corvanthium.set_progress`` as ``callback(op, done, total)`` every few
milliseconds, and once more with ``done == total`` when it ends. ``TerminalBar``
is such a callback: it shows a bar only once a call has run for ``delay``
seconds, so short calls stay silent.
"""

from __future__ import annotations

import importlib.util
import os
import sys
import time
from typing import Any, TextIO


class TerminalBar:
    """A progress callback that draws one tqdm bar per long call."""

    def __init__(self, delay: float = 1.0, file: TextIO | None = None) -> None:
        self.delay = delay
        self.file = file
        self._bar: Any = None
        self._op: str | None = None
        self._done = 0
        self._started = 0.0

    def __call__(self, op: str, done: int, total: int) -> None:
        now = time.monotonic()
        if self._op is None or op != self._op or done < self._done:
            self.close()  # a new call (the last one may have been stopped)
            self._op = op
            self._started = now
        self._done = done
        if done >= total:
            self.close()
            return
        if self._bar is None:
            if now - self._started < self.delay:
                return
            tqdm = importlib.import_module("tqdm").tqdm
            self._bar = tqdm(total=total, initial=done, desc=op, leave=False, file=self.file or sys.stderr, unit="step")
        if self._bar.total != total:
            self._bar.total = total
        self._bar.update(done - self._bar.n)

    def close(self) -> None:
        """Removes the bar, if one is shown, and forgets the call."""
        if self._bar is not None:
            self._bar.close()
        self._bar = None
        self._op = None
        self._done = 0


def default_callback() -> TerminalBar | None:
    """A TerminalBar when progress should show by default: tqdm is installed
    and stderr is a terminal. CORVANTHIUM_PROGRESS=1 or 0 forces it on or off."""
    forced = os.environ.get("CORVANTHIUM_PROGRESS")
    if forced is not None and forced.strip() in ("0", ""):
        return None
    if importlib.util.find_spec("tqdm") is None:
        return None
    interactive = sys.stderr is not None and sys.stderr.isatty()
    if forced is None and not interactive:
        return None
    return TerminalBar()
