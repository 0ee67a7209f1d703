# shellcheck shell=bash
# shellcheck disable=SC2034  # MAIN_CAPTION, xvfb_pid and xvfb_error are for the sourcing script
# Shell functions for the scripts that drive the real program under a virtual
# X server (smoke-test.sh, screenshot.sh, measure-startup.sh). Source it; it
# runs nothing by itself. Needs bash, Xvfb, xdpyinfo, xdotool and timeout.

# The caption of the program's main window.
MAIN_CAPTION='Информационно-справочная система бухгалтера отдела культуры'

# Makes the scratch folder $work and arranges that at exit the program
# ($app_pid) and the virtual X server ($xvfb_pid) are stopped and the folder
# is removed (end_session). A script with more to clean up sets its own EXIT
# trap that ends with end_session.
begin_session() {
    work=$(mktemp -d)
    app_pid=
    xvfb_pid=
    trap end_session EXIT
}

end_session() {
    stop_process "${app_pid:-}"
    stop_process "${xvfb_pid:-}"
    rm -rf "$work"
}

# Prints the first of the named commands that is not installed; succeeds only
# when one is missing.
missing_tool() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null || { echo "$tool"; return 0; }
    done
    return 1
}

# Starts Xvfb on a display of its own (Xvfb picks a free number and writes it
# to fd 3), waits until it answers, and makes it the display of this shell and
# its children: DISPLAY, no Wayland, no platform override, and a private
# XDG_RUNTIME_DIR under $1. Sets xvfb_pid; on failure sets xvfb_error and
# returns 1. Xvfb's own messages go to $1/xvfb.log.
start_xvfb() {
    local work=$1
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
    xvfb_pid=$!
    if ! timeout 10 bash -c "until [ -s '$work/display' ]; do sleep 0.02; done"; then
        xvfb_error="Xvfb did not start"
        return 1
    fi
    DISPLAY=":$(head -n1 "$work/display")"
    export DISPLAY
    if ! timeout 10 bash -c 'until xdpyinfo >/dev/null 2>&1; do sleep 0.02; done'; then
        xvfb_error="display $DISPLAY not ready"
        return 1
    fi
    unset WAYLAND_DISPLAY QT_QPA_PLATFORM
    export XDG_RUNTIME_DIR="$work/xdg"
    mkdir -m 700 "$XDG_RUNTIME_DIR"
}

# Ends a background process of this shell, if $1 names one, and reaps it.
stop_process() {
    [ -n "${1:-}" ] || return 0
    kill "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
}

# The window id of the visible window whose title is exactly $1, waiting up
# to $2 seconds (15 by default); empty when there is none.
find_window() {
    timeout "${2:-15}" xdotool search --sync --onlyvisible --name "^$1\$" 2>/dev/null | head -n1
}

# X, Y, WIDTH, HEIGHT of a window, as shell variables.
geometry_of() {
    unset X Y WIDTH HEIGHT
    eval "$(xdotool getwindowgeometry --shell "$1")"
}

# Keys go to the window under the pointer (there is no window manager): puts
# the pointer on the window's top edge and presses Enter.
press_enter_on() {
    geometry_of "$1"
    xdotool mousemove $((X + WIDTH / 2)) $((Y + 5))
    xdotool key Return
}
