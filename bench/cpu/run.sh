#!/bin/sh
# CPU time of the running clock under wine beside a minimal 100 ms timer window that repaints
# on every tick and one that repaints only when the second changes (the floor).
# usage: bench/cpu/run.sh [SECONDS [WARMUP_SECONDS]]   (after a win32 build; default 60 s each)
# AMBREL_E2E_STATE picks the state folder (default /tmp/ambrel-cpu-bench; a new one costs a
# wine prefix, about two minutes).
set -eu
exec /usr/bin/python3 "$(dirname "$0")/measure.py" "$@"
