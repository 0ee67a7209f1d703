#!/bin/bash
# Two accountants at once: the real program twice, each on a virtual X server of its own, on one demo database (see
# e2e_begin: a file, or the server's KULTBUH_DATABASE names); what each flow stores is read back with kultbuh-db query.
# Screenshots go to OUTPUT. Exit 77 when a tool is missing.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source-path=SCRIPTDIR source=e2e-helpers.sh
. "$here/e2e-helpers.sh"
e2e_begin "$@"
export KULTBUH_DATABASE=$db
declare -A display xvfb pid mains menus ed pr
trap 'for who in a b; do stop_process "${pid[$who]:-}"; stop_process "${xvfb[$who]:-}"; done; end_session' EXIT

# use A: the accountant the next commands drive.
use() { export DISPLAY=${display[$1]} who=$1 desk=$work/$1 main=${mains[$1]:-} menu_height=${menus[$1]:-}; }
for who in a b; do
    mkdir -p "$work/$who"; start_xvfb "$work/$who" || fail "$xvfb_error"
    start_program "$work/$who"
    xvfb[$who]=$xvfb_pid display[$who]=$DISPLAY pid[$who]=$app_pid
    press_enter_on "$(find_window 'Заставка')"
    mains[$who]=$(find_window "$MAIN_CAPTION") || fail "no main window for $who after the splash screen"
    geometry_of "${mains[$who]}" && menus[$who]=$((HEIGHT - 568))
done

q() { "$dbtool" query "$db" -- "$1" | tail -n +2; } # SQL: the rows without the titles
until_stored() { # SQL ROWS: waits until the query gives those rows
    for _ in $(seq 100); do [ "$(q "$1")" = "$2" ] && return 0 || sleep 0.1; done
    fail "$1 gives \"$(q "$1")\", not \"$2\""
}
staff_button() { click_at "${ed[$who]}" $((11 + $1 * 35 + 17)) $((197 + 12)); } # 4 insert, 7 post, 8 cancel
bonus_button() { click_at "${pr[$who]}" $((8 + $1 * 28 + 14)) $((104 + 12)); } # the bonus editor's; 5 delete
address_crop() { import -window "${ed[$who]}" -crop 56x13+67+120 +repage "$work/$1.png"; } # its first letters
same_crops() { compare -metric AE "$work/$1.png" "$work/$2.png" null: 2>/dev/null; }
error_box() { # WHAT: the program's stop box (captioned "Kultbuh") is shown; Enter closes it; its area is redrawn
    find_window Kultbuh >/dev/null && shot "$who-$1" && press_enter_on "$(find_window Kultbuh)" && until_gone Kultbuh &&
        sleep 0.3 || fail "no message box: $1"; }

# --- 1. The same employee: one changes the address, the other the telephone; both are stored.
for who in a b; do
    use $who && menu_keys Right Return
    ed[$who]=$(find_window 'Сотрудники') || fail "no employee editor for $who"
done
id=$(q "SELECT MIN(ID) FROM Sotr")
use a && type_into "${ed[a]}" 200 126 'ул. Садовая, дом 1'
use b && type_into "${ed[b]}" 200 153 '4951112233'
use a && staff_button 7
use b && staff_button 7
until_stored "SELECT Adres, Telefon FROM Sotr WHERE ID = $id" $'ул. Садовая, дом 1\t(495)111-2233'
echo "ok: the address of one and the telephone of the other both stored"

# --- 2. Both change the address: the second save is refused and keeps what was typed; "Отмена" shows the first's.
use a && type_into "${ed[a]}" 200 126 'ул. Вторая, дом 2'
use b && type_into "${ed[b]}" 200 126 'ул. Третья, дом 3' && address_crop typed
use a && staff_button 7
until_stored "SELECT Adres FROM Sotr WHERE ID = $id" 'ул. Вторая, дом 2'
use b && staff_button 7 && error_box conflict
address_crop kept && same_crops typed kept || fail "the typed address is not kept after the conflict"
staff_button 8 && sleep 0.3 && address_crop cancelled
use a && address_crop first && same_crops first cancelled || fail "Отмена does not show the first accountant's address"
until_stored "SELECT Adres FROM Sotr WHERE ID = $id" 'ул. Вторая, дом 2'
echo "ok: the second save of the address refused, the typed value kept, Отмена shows the first's"

# --- 3. One adds an employee, the other's employee list shows it; one deletes a bonus the other is editing.
newcomer='Петрова Анна Ильинична'
use a && staff_button 4 && type_into "${ed[a]}" 200 45 "$newcomer"
click_at "${ed[a]}" 240 72 && sleep 0.3 && xdotool key Home Return && staff_button 7
until_stored "SELECT COUNT(*) FROM Sotr WHERE FIO = '$newcomer'" 1
for who in a b; do
    use $who && "$python" "$here/close_window.py" "${ed[$who]}" && until_gone 'Сотрудники' || fail "editor not closed"
done
use b && menu_keys Right Right Return
workbook_rows "$(export_grid)" | cut -f2 | grep -qxF "$newcomer" || fail "the other's list lacks the new employee"
before=$(q "SELECT ID, IDSotr, Data, Premia FROM Premia ORDER BY ID") bonus=$(q "SELECT MIN(ID) FROM Premia")
for who in a b; do
    use $who && menu_keys Right Down Down Down Return
    pr[$who]=$(find_window 'Премия') || fail "no bonus editor for $who"
done
use b && type_into "${pr[b]}" 260 77 '15'
use a && bonus_button 5 && press_enter_on "$(find_window Confirm)"
until_stored "SELECT COUNT(*) FROM Premia WHERE ID = $bonus" 0
use b && bonus_button 7 && error_box vanished
[ "$(q "SELECT ID, IDSotr, Data, Premia FROM Premia ORDER BY ID")" = "$(grep -v "^$bonus	" <<<"$before")" ] ||
    fail "saving the deleted bonus changed the bonuses"
bonus_button 8 && echo "ok: the new employee in the other's list; saving a deleted bonus refused, nothing else changed"

# --- 4. One computes the statement while the other saves a bonus of its month: it is the one before or after the save.
bonus=$(q "SELECT MIN(ID) FROM Premia")
read -r year month _ < <(q "SELECT Data FROM Premia WHERE ID = $bonus" | tr '-' ' ')
use b && "$python" "$here/close_window.py" "${pr[b]}" && until_gone 'Премия' && pick_month "$month" "$year"
old=$(query_statement "$year" "$month" | tail -n +2 | normalised)
use a && type_into "${pr[a]}" 260 77 '77'
(use b && panel_click $((127 + 133)) 15) &
use a && bonus_button 7 && wait $!
until_stored "SELECT Premia FROM Premia WHERE ID = $bonus" 77
new=$(query_statement "$year" "$month" | tail -n +2 | normalised)
[ "$old" != "$new" ] || fail "the bonus does not change the statement of $month.$year"
use b && shown=$(workbook_rows "$(export_grid)" | tail -n +2) && shot statement
[ "$shown" = "$old" ] || [ "$shown" = "$new" ] || fail "the statement is neither the one before nor after the save"
echo "ok: the statement of $month.$year computed during a save is consistent"
