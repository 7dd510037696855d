#!/usr/bin/env bash
# The one command that runs every test: installs what is missing, checks the formatting,
# builds the native and the win32 presets, runs the core's unit tests (ctest) and then the
# end-to-end suite (pytest, driving the real ambrel.exe under wine on a virtual display).
# Exits non-zero when anything fails; ends with the closing lines of both runners.
set -uo pipefail
cd "$(dirname "$0")/.."

logs=build/test-logs
step() { echo; echo "== $*"; }
fail() { echo "test.sh: $*" >&2; exit 1; }

step bootstrap
bash scripts/bootstrap.sh || fail "bootstrap failed"

step "formatting (clang-format)"
bash scripts/check-format.sh
format_rc=$?

step "build native"
cmake --preset native >/dev/null && cmake --build --preset native -j2 || fail "native build failed"
step "build win32 and the release zip"
# The end-to-end suite runs the clock from the zip, as users get it.
cmake --preset win32 >/dev/null && cmake --build --preset win32 -j2 --target package ||
    fail "win32 build failed"

mkdir -p "$logs"
step "unit tests (ctest)"
ctest --test-dir build/native --output-on-failure -j2 2>&1 | tee "$logs/ctest.log"
ctest_rc=${PIPESTATUS[0]}
step "release zip (ctest: the packaged exe's size budget)"
ctest --test-dir build/win32 -V 2>&1 | tee "$logs/ctest-win32.log"
package_rc=${PIPESTATUS[0]}

step "end-to-end tests (pytest under wine)"
bash e2e/run.sh 2>&1 | tee "$logs/e2e.log"
e2e_rc=${PIPESTATUS[0]}

step summary
grep -E 'tests passed|tests failed|Total Test time' "$logs/ctest.log" || echo "ctest: no summary (exit $ctest_rc)"
grep -E 'packaged ambrel.exe|tests passed|tests failed' "$logs/ctest-win32.log" || echo "ctest win32: no summary (exit $package_rc)"
grep -E '^=+ .*(passed|failed|error|no tests ran).* =+$' "$logs/e2e.log" | tail -1 || echo "pytest: no summary (exit $e2e_rc)"
if [ "$format_rc" -ne 0 ] || [ "$ctest_rc" -ne 0 ] || [ "$package_rc" -ne 0 ] || [ "$e2e_rc" -ne 0 ]; then
    echo "test.sh: FAILED (format exit $format_rc, ctest exit $ctest_rc, package exit $package_rc, pytest exit $e2e_rc)"
    exit 1
fi
echo "test.sh: all tests passed"
