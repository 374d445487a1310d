#!/bin/sh
# Runs the orvo-convert binary the way a user would: usage errors, a folder
# searched recursively, failures that do not stop the batch, existing outputs,
# the dry run, the terminal prompt and progress bar, and Ctrl+C.
#   orvo_convert_test.sh PATH-TO-orvo-convert
set -u
tool=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
failures=0
passes=0

check() {  # description, condition...
    description=$1; shift
    if "$@"; then passes=$((passes + 1)); else echo "FAIL: $description" >&2; failures=$((failures + 1)); fi
}
status_is() { [ "$status" -eq "$1" ]; }
size_is() { [ "$(stat -c %s "$1" 2>/dev/null)" = "$2" ]; }

mkdir -p in/deeper out
sox -n -r 48000 -b 16 -c 2 in/Kick01.wav synth 1 sine 60 gain -6
sox -n -r 22050 -b 16 -c 1 in/deeper/snare.aiff synth 0.5 noise gain -12
echo "not audio" > in/notes.wav
echo "ignored" > in/readme.txt

# Usage errors: status 2 and one line on standard error.
for args in "--bogus in" "in" "-o missing in" "-o in/readme.txt in" "-o out" "-o" "--overwrite --skip-existing -o out in"; do
    # shellcheck disable=SC2086
    "$tool" $args >/dev/null 2>err; status=$?
    check "usage error for '$args'" status_is 2
    # (Debug builds of the framework print their version first.)
    check "one line for '$args'" [ "$(grep -cv '^JUCE v' err)" -eq 1 ]
done
"$tool" --help >help; status=$?
check "--help" status_is 0
check "--help text" grep -q -- "--skip-existing" help

# A dry run lists the queue and writes nothing.
"$tool" --dry-run -o out in >list; status=$?
check "dry run status" status_is 0
check "dry run lines" [ "$(wc -l < list)" -eq 3 ]
check "dry run line" grep -q "^$work/in/Kick01.wav	Kick01.wav	new$" list
check "dry run writes nothing" [ -z "$(ls out)" ]

# The batch: the unreadable file is reported and the others still converted.
"$tool" -o out in >log 2>err; status=$?
check "failure status" status_is 1
check "converted 48 kHz" size_is out/Kick01.wav $((44 + 44100 * 4))
check "converted 22.05 kHz from a subfolder" size_is out/snare.wav $((44 + 22050 * 2))
check "report of the unreadable file" grep -q "^Error: $work/in/notes.wav$" err
check "second line of the report" grep -q "^can not be opened$" err
check "nothing for the unreadable file" [ ! -e out/notes.wav ]

# Existing outputs: kept without a terminal, kept or replaced by the options.
echo old > out/snare.wav
"$tool" -o out in/deeper </dev/null >log 2>err; status=$?
check "skip without a terminal" status_is 0
check "kept without a terminal" [ "$(cat out/snare.wav)" = old ]
"$tool" --skip-existing -o out in/deeper >/dev/null 2>&1; status=$?
check "kept by --skip-existing" [ "$(cat out/snare.wav)" = old ]
"$tool" --overwrite -o out in/deeper >/dev/null 2>&1; status=$?
check "--overwrite status" status_is 0
check "replaced by --overwrite" size_is out/snare.wav $((44 + 22050 * 2))

# A folder in the way of an output is a write error.
mkdir -p in2 out2/Kick01.wav
cp in/Kick01.wav in2/
"$tool" --overwrite -o out2 in2 >/dev/null 2>err; status=$?
check "write error status" status_is 1
check "write error report" grep -q "^Error writing to: $work/out2/Kick01.wav$" err

# On a terminal: the prompt (overwrite all) and the progress bar.
echo old > out/snare.wav
echo old > out/Kick01.wav
printf 'a\n' | script -qec "'$tool' -o out in/Kick01.wav in/deeper" /dev/null >tty 2>&1
check "prompt shown" grep -q "exists. \[o\]verwrite" tty
check "progress bar shown" grep -q "100.0%" tty
check "overwrite all, first" size_is out/Kick01.wav $((44 + 44100 * 4))
check "overwrite all, second" size_is out/snare.wav $((44 + 22050 * 2))

# Ctrl+C stops through the converter's abort: no partial file is left.
sox -n -r 48000 -b 16 -c 2 long.wav synth 600 sine 440 gain -6
mkdir -p in3 out3 && mv long.wav in3/
"$tool" -o out3 in3 >/dev/null 2>err &
pid=$!
# Interrupt once it reads the input, not before its handler is in place.
tries=0
while ! ls -l /proc/$pid/fd 2>/dev/null | grep -q long.wav && [ $tries -lt 600 ]; do
    sleep 0.05; tries=$((tries + 1))
done
kill -INT $pid
wait $pid; status=$?
check "interrupted status" status_is 130
check "no partial file" [ -z "$(ls out3)" ]

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
