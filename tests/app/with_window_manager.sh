#!/bin/sh
# Runs a command on a virtual X display of its own with a window manager that
# draws title bars, as a user's desktop has; the display goes with the command.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/scripts/xdisplay.sh"
command -v openbox >/dev/null 2>&1 || { echo "openbox is not installed" >&2; exit 1; }
orvo_start_display with-window-manager
"$@"
