"""Numbers and names that the program and the suite share (the version, control ids, window
class names, dialog results), read from the program's own headers, so that each is written
once and a test never restates it."""
import re
from functools import lru_cache

from .paths import REPO, HarnessError

# `#define NAME value` with an optional line comment; a value is a number, a "text" or a wide
# L"text".
_DEFINE = re.compile(r'^\s*#define\s+(\w+)\s+(L?"[^"]*"|-?\w+)\s*(?://.*)?$')
# `[inline] constexpr int kName = number;`, a named number of a C++ header.
_CONSTANT = re.compile(r'^\s*(?:inline\s+)?constexpr\s+int\s+(\w+)\s*=\s*(-?\w+)\s*;')


def _value(text):
    if text.startswith('L"'):
        return text[2:-1]
    if text.startswith('"'):
        return text[1:-1]
    return int(text, 0)


@lru_cache(maxsize=None)
def defines(header: str) -> dict:
    """{name: number or text} of the plain #defines and the constexpr int numbers of a header, by
    its path in the tree."""
    path = REPO / header
    if not path.is_file():
        raise HarnessError(f"{header} not found")
    found = {}
    for line in path.read_text(encoding="utf-8").splitlines():
        match = _DEFINE.match(line) or _CONSTANT.match(line)
        if match:
            found[match.group(1)] = _value(match.group(2))
    return found


def define(header: str, name: str):
    try:
        return defines(header)[name]
    except KeyError:
        raise HarnessError(f"{header} defines no {name}") from None
