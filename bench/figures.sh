#!/bin/sh
# Measures every figure of README.md's table and rewrites the table (bench/figures.py).
# usage: bench/figures.sh [--rounds N] [--cpu-seconds S] [--fuzz-seconds S]
set -eu
exec /usr/bin/python3 "$(dirname "$0")/figures.py" "$@"
