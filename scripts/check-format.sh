#!/usr/bin/env bash
# Fails when a tracked C or C++ file differs from the checked-in .clang-format, and
# names the files and the command that fixes them.
set -euo pipefail
cd "$(dirname "$0")/.."

command -v clang-format >/dev/null || { echo "check-format.sh: clang-format missing" >&2; exit 1; }
mapfile -t sources < <(git ls-files '*.c' '*.cc' '*.cpp' '*.h' '*.hpp')
unformatted=()
for f in "${sources[@]}"; do
    clang-format --style=file "$f" | cmp -s - "$f" || unformatted+=("$f")
done
if [ ${#unformatted[@]} -gt 0 ]; then
    echo "check-format.sh: ${#unformatted[@]} file(s) differ from .clang-format:" >&2
    printf '  %s\n' "${unformatted[@]}" >&2
    echo "fix with: git ls-files '*.c' '*.cc' '*.cpp' '*.h' '*.hpp' | xargs clang-format -i" >&2
    exit 1
fi
echo "check-format.sh: ${#sources[@]} files match .clang-format"
