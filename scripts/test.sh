#!/bin/sh
# Installs what is missing, builds and runs the whole test suite:
#   1. Release build, every test;
#   2. AddressSanitizer + UndefinedBehaviorSanitizer build, every test;
#   3. ThreadSanitizer build, the tests labelled "threads";
#   4. the fuzz targets (clang, libFuzzer), a short bounded run each.
# GUI tests run on a virtual X display started here.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/xdisplay.sh"
jobs=$(nproc)

"$root/scripts/setup.sh"
orvo_start_display

build() {  # folder, cmake options...
    dir="$root/build/$1"; shift
    cmake -S "$root" -B "$dir" "$@" >/dev/null
    cmake --build "$dir" -j"$jobs"
}

run_tests() {  # folder, ctest options...
    dir="$root/build/$1"; shift
    (cd "$dir" && ctest --output-on-failure --no-tests=error -j"$jobs" "$@")
}

echo "== Release" >&2
build release -DCMAKE_BUILD_TYPE=Release
run_tests release

echo "== AddressSanitizer + UndefinedBehaviorSanitizer" >&2
build asan -DCMAKE_BUILD_TYPE=Debug -DORVO_SANITIZE=ON
ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1" \
LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0" \
UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
    run_tests asan

echo "== ThreadSanitizer" >&2
build tsan -DCMAKE_BUILD_TYPE=Debug -DORVO_TSAN=ON
TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$root/tests/tsan.supp" \
    run_tests tsan -L threads

if [ -f "$root/fuzz/run.sh" ]; then
    echo "== Fuzzing" >&2
    "$root/fuzz/run.sh"
fi

echo "All tests passed." >&2
