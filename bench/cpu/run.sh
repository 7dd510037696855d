#!/bin/sh
# CPU time of the running clock under wine beside a minimal 100 ms timer window that repaints
# on every tick and one that repaints only when the second changes (the floor).
# usage: bench/cpu/run.sh [SECONDS [WARMUP_SECONDS [EXE]]]   (after a win32 build; default 60 s
# each; EXE, another build of ambrel.exe, is measured beside them for a before and after)
# AMBREL_E2E_STATE picks the state folder (default /tmp/ambrel-cpu-bench; a new one costs a
# wine prefix, about two minutes).
# AMBREL_E2E_QEMU=1 measures 32-bit wine through qemu, as e2e/run.sh does (a user namespace
# with a binfmt_misc of its own, Linux 6.7+), where emulation magnifies the programs' own work.
set -eu
if [ "${AMBREL_E2E_QEMU:-0}" = 1 ] && [ -z "${AMBREL_E2E_QEMU_NAMESPACE:-}" ]; then
    export AMBREL_E2E_QEMU_NAMESPACE=1
    exec unshare --user --map-root-user --mount --propagation private -- "$0" "$@"
fi
if [ -n "${AMBREL_E2E_QEMU_NAMESPACE:-}" ]; then
    mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
fi
exec /usr/bin/python3 "$(dirname "$0")/measure.py" "$@"
