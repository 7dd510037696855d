"""A harness that is slower than the program on purpose.

The suite must hold whichever side is faster: wine may put a window on screen in a tenth of
a second, or take seconds under emulation. Setting AMBREL_E2E_HARNESS_DELAY (seconds), or
`slowed(seconds)` inside one test, makes the harness lag behind by that much: every driver
command waits that long before it is sent, and a recording's capture stalls that long after
its stream has connected. A test whose ordering rests on the harness being quick then fails
instead of passing by luck."""
import os
from contextlib import contextmanager

_delay = float(os.environ.get("AMBREL_E2E_HARNESS_DELAY", "0") or 0)


def delay():
    return _delay


@contextmanager
def slowed(seconds):
    global _delay
    before, _delay = _delay, float(seconds)
    try:
        yield
    finally:
        _delay = before
