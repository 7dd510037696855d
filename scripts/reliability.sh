#!/usr/bin/env bash
# The long forms of the reliability tests (hundreds of kills during the save, damaged files,
# dialogs and notices), run against the real ambrel.exe under wine; prints their figures and
# writes them into README.md between <!-- reliability:begin --> and <!-- reliability:end -->.
#
#   scripts/reliability.sh            long forms, README rewritten (about ten minutes natively)
#   AMBREL_RELIABILITY_SEED=N ...     replays the random moments and damaged files of seed N
#   scripts/reliability.sh --no-readme   figures only
set -euo pipefail
cd "$(dirname "$0")/.."

readme=1
[ "${1:-}" = "--no-readme" ] && readme=0

bash scripts/bootstrap.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j2 --target package  # the tests run the clock from the release zip

figures=${AMBREL_E2E_STATE:-build/e2e}/reliability
rm -rf "$figures"
AMBREL_RELIABILITY_LONG=1 PYTHONDONTWRITEBYTECODE=1 /usr/bin/python3 -m pytest \
    -c e2e/pytest.ini --rootdir e2e e2e/tests/test_reliability.py

args=("$figures")
[ "$readme" = 1 ] && args+=(--readme README.md)
/usr/bin/python3 scripts/reliability_figures.py "${args[@]}"
