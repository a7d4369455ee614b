"""The sweep's ending signals while the package imports.

`python3 -m velmora.sweep` imports this package before the sweep's own code runs, which takes a
moment (numpy, the compiled module). A signal that would end the sweep and comes meanwhile ends it
at once with the sweep's one line and status, as one that comes later does: nothing has been
started or written yet. The sweep's own handlers take over when it starts.
"""

import contextlib
import os
import signal
import sys
from types import FrameType
from typing import Optional

AGAIN = "; the finished points are in the table, --resume runs the rest"
# The signals that end a sweep as Ctrl+C does, as they end velmora-batch: Ctrl+C, a termination
# request, a closed terminal, Ctrl+\, a timer, the user's two signals and the end of the
# processor time allowed.
ENDING_SIGNALS = frozenset({signal.SIGINT, signal.SIGTERM, signal.SIGHUP, signal.SIGQUIT, signal.SIGALRM,
                            signal.SIGUSR1, signal.SIGUSR2, signal.SIGXCPU})


def started_as_the_sweep() -> bool:
    """Whether the interpreter was started as `python3 [options] -m velmora.sweep ...`."""
    words = sys.orig_argv
    return "-mvelmora.sweep" in words or any(word == "-m" and name == "velmora.sweep"
                                             for word, name in zip(words, words[1:]))


def _end(number: int, frame: Optional[FrameType]) -> None:
    with contextlib.suppress(OSError):
        os.write(2, f"velmora.sweep: interrupted{AGAIN}\n".encode())
    os._exit(128 + number)


def end_sweep_at_once() -> None:
    """When the interpreter runs the sweep: each ending signal not ignored at the start ends the
    process at once, until the sweep installs its own handlers."""
    if started_as_the_sweep():
        for number in ENDING_SIGNALS:
            if signal.getsignal(number) != signal.SIG_IGN:
                signal.signal(number, _end)
