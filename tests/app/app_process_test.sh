#!/bin/sh
# The real application under the X display: it starts one window, a second
# launch exits at once without a window while the first keeps running, and
# Ctrl+Q ends it.
set -eu
app="$1"
title="Orvo File Conversion Utility"
[ -n "${DISPLAY:-}" ] || { echo "needs an X display" >&2; exit 1; }

fail() { echo "FAIL: $*" >&2; kill "$first" 2>/dev/null || true; exit 1; }

windows() { xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | wc -l; }

wait_for() {  # condition, tenths of a second
    n=0
    while ! eval "$1"; do
        n=$((n + 1)); [ "$n" -lt "$2" ] || return 1; sleep 0.1
    done
}

"$app" --ignored-argument &
first=$!
wait_for '[ "$(windows)" -ge 1 ]' 150 || fail "no window"
[ "$(windows)" -eq 1 ] || fail "more than one window"

start=$(date +%s%N)
timeout 10 "$app" "some file.wav" || fail "second launch failed or hung"
elapsed_ms=$(( ($(date +%s%N) - start) / 1000000 ))
[ "$elapsed_ms" -lt 5000 ] || fail "second launch took ${elapsed_ms} ms"
[ "$(windows)" -eq 1 ] || fail "second launch opened a window"
kill -0 "$first" 2>/dev/null || fail "first instance ended"

win=$(xdotool search --onlyvisible --name "^$title\$" | head -1)
geometry=$(xwininfo -id "$win" | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w "x" h}')
[ "$geometry" = "420x720" ] || fail "window is $geometry"

xdotool windowfocus --sync "$win" 2>/dev/null || true
xdotool key --clearmodifiers ctrl+q
wait_for '! kill -0 "$first" 2>/dev/null' 100 || fail "Ctrl+Q did not end the application"
wait "$first" || fail "application exited with status $?"
echo "ok: single instance, 420x720 window, Ctrl+Q"
