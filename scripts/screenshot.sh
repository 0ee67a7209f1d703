#!/usr/bin/env bash
# Makes the pictures of the program that the README and the user's guide
# (docs/РУКОВОДСТВО.md) show, taken under a virtual X server from the real
# program on a new demo database:
#   docs/splash.png            the splash screen;
#   docs/main-window.png       the main window with the salary statement of
#                              April 2013;
#   docs/help-dialog.png       the help text in the message dialog;
#   docs/documents-menu.png    the menu bar with "Документы" open;
#   docs/payslip-prompt.png    the pay slip's prompt for the name;
#   docs/payslip-not-found.png the message after the prompt was cancelled;
#   docs/employee-list.png     "Справочник" -> "Сотрудники" in the grid;
#   docs/employee-editor.png   the employee editor;
#   docs/bonus-editor.png      the bonus editor.
# Steps: the program started in a temporary folder with a new demo database;
# the splash screen taken and Enter pressed on it; a click on "Зароботная
# плата за выбранный месяц"; "Помощь" on the menu bar, reached from "Меню"
# with the arrow keys, and Enter on the dialog; a click on "Расчётный лист",
# Escape in the prompt and Enter on the message; the menus "Справочник" and
# "База данных" reached from "Меню" with the arrow keys, the employee editor
# closed as with its close button. ImageMagick's import takes each window.
# Usage: scripts/screenshot.sh [BUILD_DIR]   (default: build)
# Needs Xvfb, xdotool, xdpyinfo, ImageMagick and python3 (scripts/install-deps.sh).
set -euo pipefail
# shellcheck source=lib/xvfb.sh
. "$(dirname "$0")/lib/xvfb.sh"
cd "$(dirname "$0")/.."
root=$(pwd)
build=${1:-build}
program="$build/app/kultbuh"
dbtool="$build/tools/kultbuh-db"
docs="$root/docs"

if tool=$(missing_tool Xvfb xdotool xdpyinfo import timeout python3); then
    echo "$tool is not installed (scripts/install-deps.sh installs it)" >&2
    exit 1
fi
for file in "$program" "$dbtool"; do
    [ -x "$file" ] || { echo "$file is not built: cmake --build $build" >&2; exit 1; }
done

begin_session

# Takes window $1 into docs/$2 and prints the file's path.
take() {
    import -window "$1" "$docs/$2"
    echo "$docs/$2"
}

# Opens "Меню" with a click and presses the keys $@ in it, in the main window.
menu_keys() {
    geometry_of "$main"
    xdotool mousemove $((X + 20)) $((Y + menu_height / 2)) click 1
    sleep 0.3
    xdotool key "$@"
}

# Moves the pointer off window $1 and waits for it to be drawn.
leave() {
    geometry_of "$1"
    xdotool mousemove $((X + WIDTH + 20)) $((Y + HEIGHT + 20))
    sleep 0.5
}

fail() {
    echo "screenshot: $*" >&2
    [ -s "$work/stderr" ] && cat "$work/stderr" >&2
    exit 1
}

start_xvfb "$work" || fail "$xvfb_error"

mkdir "$work/run"
cp "$program" "$work/run/kultbuh"
"$dbtool" demo "$work/run/BAZA.mdb" >/dev/null
(cd "$work/run" && exec ./kultbuh) 2>"$work/stderr" &
app_pid=$!

splash=$(find_window 'Заставка') || true
[ -n "$splash" ] || fail "no splash screen"
mkdir -p "$docs"
sleep 0.5
take "$splash" splash.png
press_enter_on "$splash"

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

take "$main" main-window.png

# "Помощь" is the last item of the menu bar, where the text's width decides.
# Open "Меню" and go right to it with the arrow keys: it is then the only
# thing drawn in the bar's top rows, in another colour than the bar; a click
# on it runs it.
xdotool mousemove $((X + 20)) $((Y + menu_height / 2)) click 1
sleep 0.3
xdotool key Right Right Right
sleep 0.3
import -window "$main" -crop "${WIDTH}x1+0+2" +repage "$work/bar.txt"
read -r first last < <(awk 'NR > 1 { split($1, at, ","); x[NR] = at[1] + 0; colour[NR] = $3; n[$3]++ }
    END { for (c in n) if (n[c] > most) { most = n[c]; bar = c }
          for (i in x) if (colour[i] != bar) { if (min == "" || x[i] < min) min = x[i]; if (x[i] > max) max = x[i] }
          print min, max }' "$work/bar.txt")
[ -n "$first" ] || fail "Помощь is not highlighted on the menu bar"
xdotool mousemove $((X + (first + last) / 2)) $((Y + menu_height / 2)) click 1
help=$(find_window 'Обратите внимание !') || true
[ -n "$help" ] || fail "no message dialog after Помощь"
xdotool mousemove $((X + WIDTH - 20)) $((Y + HEIGHT - 40))
sleep 0.5
take "$help" help-dialog.png
press_enter_on "$help"

# "Документы", the last menu of the bar, is left of "Меню" when the arrow keys
# wrap round; its popup is a window of its own, so the screen is taken over
# the main window and the popup.
menu_keys Left
sleep 0.5
geometry_of "$main"
import -window root -crop "${WIDTH}x$((menu_height + 160))+${X}+${Y}" +repage "$docs/documents-menu.png"
echo "$docs/documents-menu.png"
xdotool key Escape Escape
sleep 0.3

# "Расчётный лист", Button5, lies at 399,3 (155 x 25) on the panel. Escape in
# the prompt gives the empty name, which no employee has.
geometry_of "$main"
xdotool mousemove $((X + 399 + 77)) $((Y + menu_height + 472 + 3 + 12)) click 1
prompt=$(find_window 'Формирование расчётного листа') || true
[ -n "$prompt" ] || fail "no pay slip prompt after Расчётный лист"
leave "$prompt"
take "$prompt" payslip-prompt.png
geometry_of "$prompt"
xdotool mousemove $((X + WIDTH / 2)) $((Y + 5)) key Escape
notice=$(find_window 'kultbuh') || true
[ -n "$notice" ] || fail "no message after the pay slip prompt was cancelled"
leave "$notice"
take "$notice" payslip-not-found.png
press_enter_on "$notice"

# "Справочник" is the third menu; "Сотрудники" its only item.
menu_keys Right Right Return
xdotool mousemove $((X + WIDTH - 20)) $((Y + HEIGHT - 40))
sleep 1
take "$main" employee-list.png

# "База данных" is the menu right of "Меню": "Сотрудники" its first item,
# "Премия" its fourth.
menu_keys Right Return
editor=$(find_window 'Сотрудники') || true
[ -n "$editor" ] || fail "no employee editor after База данных -> Сотрудники"
leave "$editor"
take "$editor" employee-editor.png
# Closed as with the title bar's close button (there is no window manager).
python3 tests/e2e/close_window.py "$editor"
timeout 10 bash -c "while xdotool search --onlyvisible --name '^Сотрудники\$' >/dev/null 2>&1; do sleep 0.05; done" ||
    fail "the employee editor did not close"
menu_keys Right Down Down Down Return
editor=$(find_window 'Премия') || true
[ -n "$editor" ] || fail "no bonus editor after База данных -> Премия"
leave "$editor"
take "$editor" bonus-editor.png
