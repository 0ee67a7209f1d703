#!/usr/bin/env bash
# Makes docs/main-window.png: the main window with the salary statement of
# April 2013 on the demo database, taken under a virtual X server.
#   1. a temporary folder with a new demo database;
#   2. the real program started there; Enter on the splash screen;
#   3. a click on "Зароботная плата за выбранный месяц";
#   4. ImageMagick's import takes the main window.
# Usage: scripts/screenshot.sh [BUILD_DIR]   (default: build)
# Needs Xvfb, xdotool, xdpyinfo and ImageMagick (scripts/install-deps.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${1:-build}
program="$build/app/kultbuh"
dbtool="$build/tools/kultbuh-db"
output="$root/docs/main-window.png"

for tool in Xvfb xdotool xdpyinfo import timeout; do
    command -v "$tool" >/dev/null || { echo "$tool is not installed (scripts/install-deps.sh installs it)" >&2; exit 1; }
done
for file in "$program" "$dbtool"; do
    [ -x "$file" ] || { echo "$file is not built: cmake --build $build" >&2; exit 1; }
done

readonly MAIN_CAPTION='Информационно-справочная система бухгалтера отдела культуры'
work=$(mktemp -d)
xvfb_pid=
app_pid=
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
    [ -n "$app_pid" ] && wait "$app_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && wait "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "screenshot: $*" >&2
    [ -s "$work/stderr" ] && cat "$work/stderr" >&2
    exit 1
}

Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
timeout 10 bash -c "until [ -s '$work/display' ]; do sleep 0.02; done" || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$work/display")"
timeout 10 bash -c 'until xdpyinfo >/dev/null 2>&1; do sleep 0.02; done' || fail "display $DISPLAY not ready"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM
export XDG_RUNTIME_DIR="$work/xdg"
mkdir -m 700 "$XDG_RUNTIME_DIR"

mkdir "$work/run"
cp "$program" "$work/run/kultbuh"
"$dbtool" demo "$work/run/BAZA.mdb" >/dev/null
(cd "$work/run" && exec ./kultbuh) 2>"$work/stderr" &
app_pid=$!

find_window() {
    timeout 15 xdotool search --sync --onlyvisible --name "^$1\$" 2>/dev/null | head -n1
}
geometry_of() {
    unset X Y WIDTH HEIGHT
    eval "$(xdotool getwindowgeometry --shell "$1")"
}

# Without a window manager keys go to the window under the pointer.
splash=$(find_window 'Заставка') || true
[ -n "$splash" ] || fail "no splash screen"
geometry_of "$splash"
xdotool mousemove $((X + WIDTH / 2)) $((Y + 5))
xdotool key Return

main=$(find_window "$MAIN_CAPTION") || true
[ -n "$main" ] || fail "no main window after the splash screen"
geometry_of "$main"
menu_height=$((HEIGHT - 568))
# Button1 lies at 127,3 (266 x 25) on the panel, which starts 472 pixels
# below the menu bar.
xdotool mousemove $((X + 127 + 133)) $((Y + menu_height + 472 + 3 + 12)) click 1
# The pointer leaves the button, so it is not drawn hovered.
xdotool mousemove $((X + WIDTH - 20)) $((Y + HEIGHT - 40))
sleep 1
kill -0 "$app_pid" 2>/dev/null || fail "the program ended after the click"
if xdotool search --onlyvisible --name '^(kultbuh|Application Error)$' >/dev/null 2>&1; then
    fail "an error box appeared after the click"
fi

mkdir -p "$(dirname "$output")"
import -window "$main" "$output"
echo "$output"
