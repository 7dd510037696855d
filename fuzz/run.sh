#!/usr/bin/env bash
# Builds the fuzz targets (preset "fuzz": clang, libFuzzer, ASan, UBSan) and runs each for N
# seconds, default 60: fuzz/run.sh [seconds]
#   settings_fuzzer     the settings reader, and the writer's promise that what it read reads back
#   value_rules_fuzzer  the value rules: number texts, 16-bit conversions, any text, any double
# The growing corpora stay in build/fuzz/corpus*; a crash leaves its input in build/fuzz/.
set -euo pipefail
seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target settings_fuzzer value_rules_fuzzer -j2

mkdir -p build/fuzz/corpus build/fuzz/corpus-values
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
build/fuzz/fuzz/settings_fuzzer -max_total_time="$seconds" -max_len=4096 -timeout=10 \
    -dict=fuzz/settings.dict -artifact_prefix=build/fuzz/ -print_final_stats=1 \
    build/fuzz/corpus fuzz/seeds
build/fuzz/fuzz/value_rules_fuzzer -max_total_time="$seconds" -max_len=64 -timeout=10 \
    -artifact_prefix=build/fuzz/ -print_final_stats=1 \
    build/fuzz/corpus-values fuzz/seeds-values
