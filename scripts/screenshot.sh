#!/usr/bin/env bash
# Makes docs/main-window.png, the main window with the salary statement of
# April 2013 on the demo database, docs/help-dialog.png, the help text in the
# message dialog, and docs/employee-editor.png, the employee editor, taken
# under a virtual X server.
#   1. a temporary folder with a new demo database;
#   2. the real program started there; Enter on the splash screen;
#   3. a click on "Зароботная плата за выбранный месяц";
#   4. ImageMagick's import takes the main window;
#   5. "Помощь" on the menu bar, reached from "Меню" with the arrow keys;
#   6. import takes the message dialog, and Enter closes it;
#   7. "База данных" -> "Сотрудники", reached from "Меню" with the arrow keys;
#   8. import takes the employee editor.
# Between 6 and 7, "Документы" is opened and docs/documents-menu.png taken: the bar with its popup.
# Usage: scripts/screenshot.sh [BUILD_DIR]   (default: build)
# Needs Xvfb, xdotool, xdpyinfo and ImageMagick (scripts/install-deps.sh).
set -euo pipefail
# shellcheck source=lib/xvfb.sh
. "$(dirname "$0")/lib/xvfb.sh"
cd "$(dirname "$0")/.."
root=$(pwd)
build=${1:-build}
program="$build/app/kultbuh"
dbtool="$build/tools/kultbuh-db"
output="$root/docs/main-window.png"
help_output="$root/docs/help-dialog.png"
editor_output="$root/docs/employee-editor.png"
documents_output="$root/docs/documents-menu.png"

if tool=$(missing_tool Xvfb xdotool xdpyinfo import timeout); then
    echo "$tool is not installed (scripts/install-deps.sh installs it)" >&2
    exit 1
fi
for file in "$program" "$dbtool"; do
    [ -x "$file" ] || { echo "$file is not built: cmake --build $build" >&2; exit 1; }
done

begin_session

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

mkdir -p "$(dirname "$output")"
import -window "$main" "$output"
echo "$output"

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
import -window "$help" "$help_output"
echo "$help_output"
press_enter_on "$help"

# "Документы", the last menu of the bar, is left of "Меню" when the arrow keys wrap round; its popup is a
# window of its own, so the screen is taken over the main window and the popup.
geometry_of "$main"
xdotool mousemove $((X + 20)) $((Y + menu_height / 2)) click 1
sleep 0.3
xdotool key Left
sleep 0.5
import -window root -crop "${WIDTH}x$((menu_height + 160))+${X}+${Y}" +repage "$documents_output"
echo "$documents_output"
xdotool key Escape Escape
sleep 0.3

# "База данных" is the menu right of "Меню"; "Сотрудники" its first item.
geometry_of "$main"
xdotool mousemove $((X + 20)) $((Y + menu_height / 2)) click 1
sleep 0.3
xdotool key Right Return
editor=$(find_window 'Сотрудники') || true
[ -n "$editor" ] || fail "no employee editor after База данных -> Сотрудники"
geometry_of "$editor"
xdotool mousemove $((X + WIDTH + 20)) $((Y + HEIGHT + 20))
sleep 0.5
import -window "$editor" "$editor_output"
echo "$editor_output"
