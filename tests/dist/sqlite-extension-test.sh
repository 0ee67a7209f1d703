#!/bin/bash
# The SQLite extension in the sqlite3 shell gives the salary statement of the
# demo database exactly as the program computes it (kultbuh-db query): the
# same rows in the same order (the collation RU), the same Month/Year
# selection, ROUND and strict conversion of the text column Premia.Premia.
# Numbers are compared as numbers: the shell prints 2000.0 where kultbuh-db
# prints 2000.
# Usage: sqlite-extension-test.sh EXTENSION KULTBUH_DB SALARY_STATEMENT
set -euo pipefail

extension=${1:?usage: sqlite-extension-test.sh EXTENSION KULTBUH_DB SALARY_STATEMENT}
dbtool=${2:?}
statement=${3:?}
export LC_ALL=C.UTF-8

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
database=$work/BAZA.mdb
"$dbtool" demo "$database" >/dev/null

# April 2013 of the demo data; the program binds the picker's date-time as ISO text.
picked='2013-04-15 00:00:00'
mapfile -t lines < <("$statement" lines)
params=()
shell_params=()
for name in D1 D2 D3 D4; do
    params+=(--param "$name=datetime:$picked")
    shell_params+=(".param set :$name \"'$picked'\"")
done

"$dbtool" query "$database" "${params[@]}" -- "${lines[@]}" >"$work/program.tsv"
sqlite3 -bail -header -tabs "$database" ".load ${extension%.so}" ".param init" "${shell_params[@]}" \
    "$("$statement" sent "$database")" >"$work/shell.tsv"

normalise() {
    awk -F'\t' -v OFS='\t' '{
        for (i = 1; i <= NF; i++)
            if ($i ~ /^-?[0-9]+(\.[0-9]+)?$/) $i = sprintf("%.4f", $i)
        print
    }' "$1"
}

rows=$(($(wc -l <"$work/program.tsv") - 1))
[ "$rows" -ge 5 ] || { echo "FAIL: only $rows rows for the month: no real comparison" >&2; exit 1; }
if ! diff <(normalise "$work/program.tsv") <(normalise "$work/shell.tsv"); then
    echo "FAIL: the sqlite3 shell with the extension differs from the program (< program, > shell)" >&2
    exit 1
fi
echo "ok: $rows rows of the salary statement alike"
