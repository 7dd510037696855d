#!/usr/bin/env bash
# Builds the settings reader's fuzz target (preset "fuzz": clang, libFuzzer, ASan, UBSan) and
# runs it for N seconds, default 60: fuzz/run.sh [seconds]
# The growing corpus stays in build/fuzz/corpus; a crash leaves its input in build/fuzz/.
set -euo pipefail
seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target settings_fuzzer -j2

mkdir -p build/fuzz/corpus
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
build/fuzz/fuzz/settings_fuzzer -max_total_time="$seconds" -max_len=4096 -timeout=10 \
    -dict=fuzz/settings.dict -artifact_prefix=build/fuzz/ -print_final_stats=1 \
    build/fuzz/corpus fuzz/seeds
