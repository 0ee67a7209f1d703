#!/bin/bash
# The accountant's day through the real program under Xvfb with real pointer and keyboard events (xdotool), on a demo
# database, with a recording desktop first on PATH; each step is listed in docs/DEVELOPING.md ("The end-to-end test").
# Screenshots go to OUTPUT. Exit 77 (a skip) when a tool or openpyxl is missing.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source-path=SCRIPTDIR source=e2e-helpers.sh
. "$here/e2e-helpers.sh"
e2e_begin "$@"
desk=$work && mkdir -p "$work/slips"
start_xvfb "$work" || fail "$xvfb_error"
start_program "$work"

# --- 1. Splash, "Начать работу", the statement, the export.
splash=$(find_window 'Заставка') || fail "no splash screen"
shot splash
press_enter_on "$splash"
main=$(find_window "$MAIN_CAPTION") || fail "no main window after the splash screen"
geometry_of "$main"
menu_height=$((HEIGHT - 568))
pick_month 04 2013
panel_click $((127 + 133)) 15
book=$(export_grid)
workbook_rows "$book" >"$work/book.tsv"
shot statement
[ "$(head -n1 "$work/book.tsv")" = $'ФИО\tОклад\tОтр. дни\tНач. по окл.\tПодоходный\tПенсионный\tАванс\tВсего уд.\tПремия\tК выдаче' ] ||
    fail "the workbook's titles: $(head -n1 "$work/book.tsv")"
diff <(query_statement 2013 04 | tail -n +2 | normalised) <(tail -n +2 "$work/book.tsv") >&2 ||
    fail "the exported statement differs from kultbuh-db query (< query, > workbook)"
rows=$(($(wc -l <"$work/book.tsv") - 1))
[ "$rows" -ge 12 ] || fail "only $rows rows exported"
echo "ok: April 2013 statement exported, $rows rows as kultbuh-db query gives them"

# --- 2. The pay slip for May 2014, the name typed in lower case.
query_statement 2014 05 >"$work/may.tsv"
employee=$(sed -n 2p "$work/may.tsv" | cut -f1)
typed=$("$python" -c 'import sys; print(sys.argv[1].lower())' "$employee")
pick_month 05 2014
panel_click $((399 + 77)) 15
prompt=$(find_window 'Формирование расчётного листа') || fail "no pay slip prompt"
hover "$prompt" && type_text "$typed"
shot prompt
xdotool key Return
save=$(find_window '(Сохранить как|Save As)') || fail "no save dialog"
hover "$save" && type_text "$work/slips/slip"
shot save-dialog
xdotool key Return
slip=$work/slips/slip.txt
timeout 15 bash -c "until [ -s '$work/editor.log' ]; do sleep 0.05; done" || fail "no text editor started for the pay slip"
[ "$(cat "$work/editor.log")" = "--encoding=WINDOWS-1251 -- $slip" ] || fail "the editor got: $(cat "$work/editor.log")"
# Windows-1251, CR LF, figures rounded half to even.
"$python" <"$work/may.tsv" -c '
import sys
typed, employee, out = sys.argv[1:]
row = next(r for r in (line.split("\t") for line in sys.stdin.read().splitlines()[1:]) if r[0] == employee)
rate, income, pension, bonus = (float(row[i]) for i in (1, 4, 5, 8))
figures = [rate, bonus, rate + bonus, income, pension, rate + bonus - income - pension]
labels = ["Оклад: ", "Премия: ", "Итого: ", "Вычтено: подоходный налог ", "         пенсионный налог ",
          "Итого к выдаче: "]
text = typed + "\r\n" + "".join(l + str(round(f)) + "\r\n" for l, f in zip(labels, figures))
open(out, "wb").write(text.encode("cp1251"))
' "$typed" "$employee" "$work/expected-slip.txt"
cmp "$work/expected-slip.txt" "$slip" >&2 || fail "the pay slip's bytes differ from those expected"
echo "ok: pay slip of $employee for May 2014, $(wc -c <"$slip") bytes as expected, gedit started with its path"

# --- 3. A new employee through the employee editor.
newcomer='Иванова Ксения Петровна'
menu_keys Right Return
editor=$(find_window 'Сотрудники') || fail "no employee editor"
# The navigator lies at 11,197, ten buttons of 35 pixels: insert is the fifth, post the eighth.
click_at "$editor" $((11 + 4 * 35 + 17)) $((197 + 12))
type_into "$editor" 200 45 "$newcomer"
click_at "$editor" 240 72 && sleep 0.3 && xdotool key Home Return # the position: the combo box's first entry
type_into "$editor" 200 126 'ул. Лесная, 5'
shot new-employee
click_at "$editor" $((11 + 7 * 35 + 17)) $((197 + 12))
for _ in $(seq 100); do
    found=$("$dbtool" query "$db" --param "N=text:$newcomer" -- "SELECT Sotr.FIO, Sotr.Adres," \
        "Dolznost.Nazvanie FROM Sotr, Dolznost WHERE Sotr.FIO = :N and Dolznost.ID = Sotr.IDDolznost" | tail -n +2)
    [ -n "$found" ] && break
    sleep 0.1
done
[ "$(printf '%s' "$found" | grep -c .)" = 1 ] || fail "the new employee is not in the database once: $found"
# Closed as with the title bar's close button (there is no window manager).
"$python" "$here/close_window.py" "$editor"
until_gone 'Сотрудники' || fail "the employee editor did not close"
menu_keys Right Right Return
book=$(export_grid)
workbook_rows "$book" | cut -f2,3,5 | grep -qxF "$newcomer	$(cut -f3 <<<"$found")	ул. Лесная, 5" ||
    fail "Справочник > Сотрудники does not list the new employee"
shot employee-list
echo "ok: new employee posted, in the database and in the employee list"

# --- 4. Help: "Помощь" is a command on the menu bar, where its place depends on the font; reached from "Меню" with the
# arrow keys it is the only item drawn highlighted in the bar's top rows, and a click there runs it.
menu_keys Right Right Right
sleep 0.3
import -window "$main" -crop "${WIDTH}x1+0+2" +repage "$work/bar.txt"
read -r first last < <(awk 'NR > 1 { split($1, at, ","); x[NR] = at[1] + 0; colour[NR] = $3; n[$3]++ }
    END { for (c in n) if (n[c] > most) { most = n[c]; bar = c }
          for (i in x) if (colour[i] != bar) { if (min == "" || x[i] < min) min = x[i]; if (x[i] > max) max = x[i] }
          print min, max }' "$work/bar.txt")
[ -n "$first" ] || fail "Помощь is not highlighted on the menu bar"
click_at "$main" $(((first + last) / 2)) $((menu_height / 2))
help=$(find_window 'Обратите внимание !') || fail "no message dialog after Помощь"
shot help
press_enter_on "$help"
until_gone 'Обратите внимание !' || fail "Enter did not close the help dialog"
echo "ok: help dialog shown, closed by Enter"

# --- 5. Exit.
menu_keys Up Return
timeout 10 tail --pid="$app_pid" -f /dev/null || fail "the program did not end after Выход"
wait "$app_pid" || fail "exit code $? after Выход"
app_pid=
{ [ -f "$work/kultbuh.debug" ] && [ ! -s "$work/kultbuh.debug" ]; } || fail "the debug file is missing or not empty at the end"
[ ! -s "$work/stderr" ] || fail "the program wrote to stderr"
echo "ok: Выход, exit code 0, empty debug file"
