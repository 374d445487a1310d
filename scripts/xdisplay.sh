# Sourced by the run and test scripts: starts a virtual X display (Xvfb) when
# none is usable, exports DISPLAY and stops it again on exit.
#   orvo_start_display [with-window-manager]
orvo_display_pid=""
orvo_wm_pid=""

orvo_stop_display() {
    [ -n "$orvo_wm_pid" ] && kill "$orvo_wm_pid" 2>/dev/null || true
    [ -n "$orvo_display_pid" ] && kill "$orvo_display_pid" 2>/dev/null || true
    orvo_wm_pid=""
    orvo_display_pid=""
}

orvo_start_display() {
    n=90
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    orvo_display_pid=$!
    export DISPLAY=":$n"
    i=0
    until xdpyinfo >/dev/null 2>&1; do
        i=$((i + 1))
        if [ "$i" -gt 100 ]; then echo "Xvfb did not start" >&2; return 1; fi
        sleep 0.1
    done
    if [ "${1:-}" = "with-window-manager" ] && command -v openbox >/dev/null 2>&1; then
        openbox >/dev/null 2>&1 &
        orvo_wm_pid=$!
        sleep 0.5
    fi
    trap orvo_stop_display EXIT INT TERM
}

orvo_have_display() {
    [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1
}
