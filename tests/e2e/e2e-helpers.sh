# shellcheck shell=bash
# The end-to-end tests' shell functions, for a script that sourced scripts/lib/xvfb.sh and set: work (the scratch
# folder), output (screenshots), db (the database), dbtool, statement, python, and desk (the folder of the recording
# desktop, see make_desktop), main and menu_height (the main window) for the accountant being driven.
fail() {
    echo "FAIL: $*" >&2
    shot failure || true
    local f
    for f in "$work"/stderr*; do [ -s "$f" ] && { echo "--- the program's ${f##*/}:" >&2; cat "$f" >&2; }; done
    exit 1
}
shots=0
shot() { printf -v shot_file '%s/%02d-%s.png' "$output" $((++shots)) "$1" && import -window root "$shot_file"; }

make_desktop() { # DIR: the recording desktop in DIR/desktop, first on the programs' PATH: xdg-open logs and copies
    local work=$1
    mkdir -p "$work/desktop" "$work/opened"
    touch "$work/xdg-open.log"
    printf '#!/bin/sh\nprintf "%%s\\n" "$*" >>"%s"\ncp -- "$*" "%s"\n' "$work/xdg-open.log" "$work/opened/" \
        >"$work/desktop/xdg-open"
    printf '#!/bin/sh\n[ "$*" = "query default text/plain" ] && echo org.gnome.gedit.desktop\n' >"$work/desktop/xdg-mime"
    printf '#!/bin/sh\nprintf "%%s\\n" "$*" >>"%s"\n' "$work/editor.log" >"$work/desktop/gedit"
    chmod +x "$work/desktop/"*
}

until_gone() { # TITLE: waits until no visible window has that title.
    timeout 10 bash -c "while xdotool search --onlyvisible --name '^$1\$' >/dev/null 2>&1; do sleep 0.05; done"
}
hover() { geometry_of "$1" && xdotool mousemove $((X + WIDTH / 2)) $((Y + 5)); } # so that keys go to the window
click_at() { geometry_of "$1" && xdotool mousemove $((X + $2)) $((Y + $3)) click 1; } # WINDOW DX DY
# type_text TEXT: Russian text on a Russian layout (xdotool would otherwise remap a spare key for every letter, and
# the program, reading the new map too late, drops letters or takes others).
type_text() {
    LC_ALL=C grep -q '[^ -~]' <<<"$1" && setxkbmap ru
    xdotool type --delay 30 -- "$1"
    setxkbmap us
}
type_into() { click_at "$1" "$2" "$3" && xdotool key ctrl+a && type_text "$4"; } # WINDOW DX DY TEXT: an edit box's
# The main window's panel lies under the menu bar, 472 pixels down; a menu is "Меню" opened, then the arrow keys.
panel_click() { click_at "$main" "$1" $((menu_height + 472 + $2)); }
menu_keys() { click_at "$main" 20 $((menu_height / 2)) && sleep 0.3 && xdotool key "$@"; }
pick_month() { # MM YYYY: the month picker's ("MM.yyyy") two digits typed over, then the year's four.
    panel_click 40 13
    xdotool key Home shift+Right shift+Right && xdotool type --delay 30 "$1"
    xdotool key End shift+Left shift+Left shift+Left shift+Left && xdotool type --delay 30 "$2"
}
query_statement() { # YEAR MONTH: the salary statement as kultbuh-db query gives it.
    local params=() lines name
    for name in D1 D2 D3 D4; do params+=(--param "$name=datetime:$1-$2-15 00:00:00"); done
    mapfile -t lines < <("$statement" lines)
    "$dbtool" query "$db" "${params[@]}" -- "${lines[@]}"
}
# The workbook's rows as tab-separated lines, every number in ten significant digits (the workbook keeps a double in
# fewer digits than kultbuh-db prints).
workbook_rows() { # FILE
    "$python" -c 'import sys, openpyxl
for row in openpyxl.load_workbook(sys.argv[1]).active.iter_rows(values_only=True):
    print("\t".join("NULL" if v is None else str(v) for v in row))' "$1" | normalised
}
normalised() {
    awk -F'\t' -v OFS='\t' '{ for (i = 1; i <= NF; i++) if ($i ~ /^-?[0-9.]+([eE][-+]?[0-9]+)?$/) $i = sprintf("%.10g", $i); print }'
}
export_grid() { # "Экспорт результатов в Excel" on the panel; prints the path of the workbook xdg-open got.
    local before
    before=$(wc -l <"$desk/xdg-open.log")
    panel_click $((560 + 114)) 40
    timeout 15 bash -c "until [ \"\$(wc -l <'$desk/xdg-open.log')\" -gt $before ]; do sleep 0.05; done" ||
        fail "xdg-open was not called by the export"
    echo "$desk/opened/$(basename "$(tail -n1 "$desk/xdg-open.log")")"
}
