#!/bin/sh
# Builds the fuzz target with clang (AddressSanitizer, UndefinedBehaviorSanitizer,
# libFuzzer) and runs a short, bounded fuzz of the converter's input formats.
#   ORVO_FUZZ_BUILD  build folder (default build/fuzz)
#   ORVO_FUZZ_SECONDS  fuzzing time (default 90)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ORVO_FUZZ_BUILD:-$root/build/fuzz}
seconds=${ORVO_FUZZ_SECONDS:-90}

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DORVO_FUZZ=ON -DORVO_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target orvo_fuzz_input_formats

seeds="$build/fuzz-seeds"
corpus="$build/fuzz-corpus"
[ -d "$seeds" ] || sh "$root/fuzz/make_seeds.sh" "$seeds"
mkdir -p "$corpus"

# Leaks are reported as failures; one run at a time keeps the machine usable.
ASAN_OPTIONS="detect_leaks=1:abort_on_error=1" \
LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0" \
UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
    "$build/bin/orvo_fuzz_input_formats" -max_total_time="$seconds" -max_len=65536 -timeout=20 \
        -rss_limit_mb=3072 -print_final_stats=1 -artifact_prefix="$build/" "$corpus" "$seeds"
echo "Fuzzing found nothing in $seconds s." >&2
