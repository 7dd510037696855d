#!/usr/bin/env bash
# Runs the end-to-end suite (pytest, Debian's interpreter); arguments go to pytest.
#
#   e2e/run.sh [-k NAME ...]
#   AMBREL_E2E_QEMU=1 e2e/run.sh     32-bit wine through qemu even where the kernel runs
#                                    32-bit programs itself, to rehearse the slow path
#
# The forced qemu path registers qemu-i386 in a binfmt_misc instance of a user namespace of
# its own (Linux 6.7 and later), so nothing else on the machine runs under qemu meanwhile.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)

if [ "${AMBREL_E2E_QEMU:-0}" = 1 ] && [ -z "${AMBREL_E2E_QEMU_NAMESPACE:-}" ]; then
    export AMBREL_E2E_QEMU_NAMESPACE=1
    exec unshare --user --map-root-user --mount --propagation private -- "$0" "$@"
fi
if [ -n "${AMBREL_E2E_QEMU_NAMESPACE:-}" ]; then
    mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc || {
        echo "e2e/run.sh: AMBREL_E2E_QEMU=1 needs a binfmt_misc of the namespace's own (Linux 6.7+)" >&2
        exit 1
    }
fi

cd "$repo"
export PYTHONDONTWRITEBYTECODE=1
state=${AMBREL_E2E_STATE:-$repo/build/e2e}

# The harness ends every wine process of its prefixes itself; this sweep is the check that it
# did, and the cleanup when pytest was killed before its own could run. Every prefix of the
# suite lies in its state folder.
sweep() {
    if ! (cd "$repo/e2e" && /usr/bin/python3 -m harness.prefix_processes "$state"); then
        echo "e2e/run.sh: wine processes of the suite were left running (ended now)" >&2
        return 1
    fi
}
trap 'sweep; exit 130' INT TERM

rc=0
/usr/bin/python3 -m pytest -c e2e/pytest.ini --rootdir e2e e2e "$@" || rc=$?
sweep || { [ "$rc" -ne 0 ] || rc=1; }
exit "$rc"
