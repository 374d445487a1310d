#!/bin/sh
# Installs what is missing, builds the application and starts it.
# Without a usable X display it starts the application on a virtual display,
# saves a screenshot of its window to build/screenshot.png and exits.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/xdisplay.sh"

"$root/scripts/setup.sh"
cmake -S "$root" -B "$root/build/app" -DCMAKE_BUILD_TYPE=Release -DORVO_BUILD_TESTS=OFF >/dev/null
cmake --build "$root/build/app" -j"$(nproc)" --target OrvoFileConversionUtility
app="$root/build/app/bin/orvo-file-conversion-utility"

if orvo_have_display; then
    exec "$app"
fi

shot="$root/build/screenshot.png"
orvo_start_display with-window-manager
"$app" &
app_pid=$!
i=0
until win=$(xdotool search --onlyvisible --name '^Orvo File Conversion Utility$' 2>/dev/null | head -1) && [ -n "$win" ]; do
    i=$((i + 1))
    if [ "$i" -gt 200 ]; then echo "the application did not open its window" >&2; kill "$app_pid"; exit 1; fi
    sleep 0.1
done
sleep 1
# The window manager's frame is the parent of the client window; capture it
# with its title bar where there is one.
frame=$(xwininfo -children -id "$win" | awk '/Parent window id/{print $4}')
if [ -n "$frame" ] && [ "$(xwininfo -id "$frame" | awk '/Width/{print $2}')" -lt 1280 ]; then
    import -window "$frame" "$shot"
else
    import -window "$win" "$shot"
fi
kill "$app_pid" 2>/dev/null || true
wait "$app_pid" 2>/dev/null || true
echo "No display: ran the application on a virtual display; screenshot saved to $shot"
