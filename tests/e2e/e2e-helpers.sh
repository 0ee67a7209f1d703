# shellcheck shell=bash disable=SC2034,SC2154 # variables set here for the sourcing script, or set by it
# The end-to-end tests' shell functions. After e2e_begin they use work (the scratch folder), output, db, dbtool,
# statement, python, and of the program driven: desk (its start_program folder), main and menu_height (its main window).
# shellcheck source-path=SCRIPTDIR source=../../scripts/lib/xvfb.sh
. "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib/xvfb.sh"

# e2e_begin KULTBUH KULTBUH_DB SALARY_STATEMENT OUTPUT: exit 77 (a skip) when a tool or openpyxl is missing; then the
# scratch folder, an empty OUTPUT, and db: the empty database KULTBUH_DATABASE names (a server's), or BAZA.mdb in the
# scratch folder, filled with the demo department.
e2e_begin() {
    program=$(realpath "${1:?usage: $0 KULTBUH KULTBUH_DB SALARY_STATEMENT OUTPUT}") dbtool=$(realpath "${2:?}")
    statement=$(realpath "${3:?}") output=${4:?} python=/usr/bin/python3
    ! tool=$(missing_tool Xvfb xdotool xdpyinfo setxkbmap import compare timeout "$python") ||
        { echo "SKIP: $tool is not installed (scripts/install-deps.sh installs it)"; exit 77; }
    "$python" -c 'import openpyxl' 2>/dev/null || { echo "SKIP: python3-openpyxl is not installed"; exit 77; }
    export LC_ALL=C.UTF-8
    begin_session
    rm -rf "$output" && mkdir -p "$output"
    db=${KULTBUH_DATABASE:-$work/BAZA.mdb}
    "$dbtool" demo "$db" >/dev/null
}

# start_program DIR: kultbuh copied into DIR and started there, its stderr in DIR/stderr (sets app_pid), its home and
# temporary folder in DIR, and a recording desktop first on its PATH: DIR/xdg-open.log and DIR/opened/ the files given
# to xdg-open, DIR/editor.log gedit's arguments.
start_program() {
    mkdir -p "$1/home" "$1/tmp" "$1/desktop" "$1/opened" && touch "$1/xdg-open.log" && cp "$program" "$1/kultbuh"
    printf '#!/bin/sh\nprintf "%%s\\n" "$*" >>"%s"\ncp -- "$*" "%s"\n' "$1/xdg-open.log" "$1/opened/" >"$1/desktop/xdg-open"
    printf '#!/bin/sh\n[ "$*" = "query default text/plain" ] && echo org.gnome.gedit.desktop\n' >"$1/desktop/xdg-mime"
    printf '#!/bin/sh\nprintf "%%s\\n" "$*" >>"%s"\n' "$1/editor.log" >"$1/desktop/gedit"
    chmod +x "$1/desktop/"*
    (cd "$1" && exec env PATH="$1/desktop:$PATH" HOME="$1/home" TMPDIR="$1/tmp" XDG_CONFIG_HOME="$1/home/.config" \
        ./kultbuh) 2>"$1/stderr" &
    app_pid=$!
}

fail() {
    echo "FAIL: $*" >&2
    shot failure || true
    for f in "$work"/stderr "$work"/*/stderr; do [ -s "$f" ] && { echo "--- $f:" >&2; cat "$f" >&2; }; done
    exit 1
}
shots=0
shot() { printf -v shot_file '%s/%02d-%s.png' "$output" $((++shots)) "$1" && import -window root "$shot_file"; }

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
