#!/bin/sh
# Start to visible window of the clock (from the release zip) beside a bare window of its size
# that opens the same WAV through MCI, and one that does not, under wine.
# usage: bench/startup/run.sh [ROUNDS [EXE]]   (after `cmake --build --preset win32 --target package`)
# EXE: another build of ambrel.exe measured beside it, for a before and after.
set -eu
exec /usr/bin/python3 "$(dirname "$0")/measure.py" "$@"
