#!/bin/bash
# End-to-end check of the real program under a virtual X server:
#   1. with the demo database: the splash screen, Enter, the main window,
#      "Зароботная плата за выбранный месяц", still running, the debug file
#      empty, "Выход" ends it with exit code 0;
#   2. without BAZA.mdb: the splash screen, Enter, then the "Application
#      Error" report; Enter closes it, exit code 1, the report on stderr;
#   3. with the debug file's name taken by a folder: the report comes at once,
#      before any splash screen; exit code 1.
# Cases 2 and 3 start the program in the plain C locale, as cron jobs, bare
# SSH sessions and containers do: its window titles must still be readable.
# Usage: smoke-test.sh PATH/TO/kultbuh [PATH/TO/kultbuh-db]
# Installs nothing: Xvfb, xdotool and xdpyinfo must be there (exit 77, a skip,
# when they are not).
set -euo pipefail

program=${1:?usage: smoke-test.sh KULTBUH [KULTBUH_DB]}
dbtool=${2:-}
# shellcheck source=lib/xvfb.sh
. "$(dirname "$0")/lib/xvfb.sh"
if tool=$(missing_tool Xvfb xdotool xdpyinfo timeout); then
    echo "SKIP: $tool is not installed (scripts/install-deps.sh installs it)"
    exit 77
fi

# This script's own tools read and match Russian text.
export LC_ALL=C.UTF-8
begin_session

fail() {
    echo "FAIL: $*" >&2
    if [ -n "${case_dir:-}" ] && [ -s "$case_dir/stderr" ]; then
        echo "--- the program's stderr:" >&2
        cat "$case_dir/stderr" >&2
    fi
    exit 1
}

start_xvfb "$work" || fail "$xvfb_error"

# A folder with a copy of the program, so its debug file lands there too.
new_case() {
    case_dir="$work/$1"
    mkdir "$case_dir"
    cp "$program" "$case_dir/kultbuh"
}

# start_program [VAR=VALUE...]: the environment's changes for the program.
start_program() {
    (cd "$case_dir" && exec env "$@" ./kultbuh) 2>"$case_dir/stderr" &
    app_pid=$!
}

# Waits for the program to end and sets exit_code.
wait_for_exit() {
    timeout "${1:-15}" tail --pid="$app_pid" -f /dev/null || fail "the program did not end"
    exit_code=0
    wait "$app_pid" || exit_code=$?
    app_pid=
}

# Enter on the error report $1 must end the program with exit code 1 and the
# report on stderr, naming the exception class $2 and the text $3; $4 says in
# which case, for the failure message.
close_report() {
    press_enter_on "$1"
    wait_for_exit 10
    [ "$exit_code" = 1 ] || fail "exit code $exit_code $4, not 1"
    grep -q "^Exception $2 in module kultbuh at 0x[0-9a-f]*\\." "$case_dir/stderr" || fail "no report on stderr"
    grep -qF "$3" "$case_dir/stderr" || fail "the report does not name $3"
}

# --- 1. A normal start on the demo database.
new_case demo
if [ -n "$dbtool" ] && [ -x "$dbtool" ]; then
    "$dbtool" demo "$case_dir/BAZA.mdb" >/dev/null
    have_database=1
else
    echo "NOTE: no kultbuh-db tool: the normal start is checked up to the splash screen only"
    have_database=
fi
printf 'left from an earlier run\n' >"$case_dir/kultbuh.debug"
start_program

splash=$(find_window 'Заставка') || true
[ -n "$splash" ] || fail "no splash screen"
geometry_of "$splash"
[ "$WIDTH" = 295 ] && [ "$HEIGHT" = 478 ] || fail "splash screen is ${WIDTH}x${HEIGHT}, not 295x478"
[ -f "$case_dir/kultbuh.debug" ] && [ ! -s "$case_dir/kultbuh.debug" ] || fail "debug file not emptied at start"
if [ -n "$have_database" ]; then
    press_enter_on "$splash"
    main=$(find_window "$MAIN_CAPTION") || true
    [ -n "$main" ] || fail "no main window after the splash screen"
    geometry_of "$main"
    # The panel lies at 472 in the client area, under the menu bar; Button1
    # is at 127,3 on it, 266 x 25.
    menu_height=$((HEIGHT - 568))
    [ "$menu_height" -gt 0 ] && [ "$menu_height" -lt 60 ] || fail "main window is ${WIDTH}x${HEIGHT}"
    xdotool mousemove $((X + 127 + 133)) $((Y + menu_height + 472 + 3 + 12)) click 1
    # Give the statement time to run; an error box would be captioned "kultbuh".
    sleep 0.5
    kill -0 "$app_pid" 2>/dev/null || fail "the program ended after Button1"
    if xdotool search --onlyvisible --name '^(kultbuh|Application Error)$' >/dev/null 2>&1; then
        fail "an error box appeared after Button1"
    fi
    [ -f "$case_dir/kultbuh.debug" ] && [ ! -s "$case_dir/kultbuh.debug" ] || fail "debug file not empty while running"
    # "Меню" -> "Выход": the last item of the first menu.
    xdotool mousemove $((X + 20)) $((Y + menu_height / 2)) click 1
    # The popup is a window of its own; give it a moment to open.
    sleep 0.3
    xdotool key Up Return
    wait_for_exit 10
    [ "$exit_code" = 0 ] || fail "exit code $exit_code after Выход"
    [ -f "$case_dir/kultbuh.debug" ] && [ ! -s "$case_dir/kultbuh.debug" ] || fail "debug file not empty at the end"
    echo "ok: splash, main window, Button1, Выход"
else
    kill "$app_pid"
    wait_for_exit 10
fi

# --- 2. No database: the splash screen first, then the report.
new_case missing
start_program LC_ALL=C LANG=C
splash=$(find_window 'Заставка') || true
[ -n "$splash" ] || fail "no splash screen without a database"
press_enter_on "$splash"
report=$(find_window 'Application Error') || true
[ -n "$report" ] || fail "no Application Error report"
if xdotool search --onlyvisible --name "^$MAIN_CAPTION\$" >/dev/null 2>&1; then
    fail "the main window is shown although the database is missing"
fi
close_report "$report" DbError BAZA.mdb "without a database"
[ -f "$case_dir/kultbuh.debug" ] && [ ! -s "$case_dir/kultbuh.debug" ] || fail "no empty debug file"
[ ! -e "$case_dir/BAZA.mdb" ] || fail "a database file was created"
echo "ok: missing database reported after the splash screen"

# --- 3. The debug file cannot be created: the report before any window.
new_case nodebug
mkdir "$case_dir/kultbuh.debug"
start_program LC_ALL=C LANG=C
report=$(find_window 'Application Error') || true
[ -n "$report" ] || fail "no Application Error report for the debug file"
if xdotool search --onlyvisible --name '^Заставка$' >/dev/null 2>&1; then
    fail "the splash screen appeared although the debug file failed"
fi
close_report "$report" FileError kultbuh.debug "when the debug file fails"
echo "ok: debug file failure reported before any window"
