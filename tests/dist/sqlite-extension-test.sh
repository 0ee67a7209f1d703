#!/bin/bash
# The SQLite extension in the sqlite3 shell gives the demo database's salary statement for April 2013 as kultbuh-db
# query does: the same rows in the same order (the collation RU), Month/Year, ROUND, the strict conversion of Premia.
# Numbers compare as numbers (the shell prints 2000.0 where kultbuh-db prints 2000).
# Usage: sqlite-extension-test.sh EXTENSION KULTBUH_DB SALARY_STATEMENT
set -euo pipefail
extension=$1 dbtool=$2 statement=$3
export LC_ALL=C.UTF-8
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$dbtool" demo "$work/BAZA.mdb" >/dev/null

picked='2013-04-15 00:00:00' params=() shell_params=() # the program binds the picker's date-time as ISO text
for name in D1 D2 D3 D4; do
    params+=(--param "$name=datetime:$picked") shell_params+=(".param set :$name \"'$picked'\"")
done
mapfile -t lines < <("$statement" lines)
"$dbtool" query "$work/BAZA.mdb" "${params[@]}" -- "${lines[@]}" >"$work/program.tsv"
sqlite3 -bail -header -tabs "$work/BAZA.mdb" ".load ${extension%.so}" ".param init" "${shell_params[@]}" \
    "$("$statement" sent "$work/BAZA.mdb")" >"$work/shell.tsv"

normalise() {
    awk -F'\t' -v OFS='\t' '{ for (i = 1; i <= NF; i++) if ($i ~ /^-?[0-9]+(\.[0-9]+)?$/) $i = sprintf("%.4f", $i); print }' "$1"
}
rows=$(($(wc -l <"$work/program.tsv") - 1))
[ "$rows" -ge 5 ] || { echo "FAIL: only $rows rows for the month: no real comparison" >&2; exit 1; }
diff <(normalise "$work/program.tsv") <(normalise "$work/shell.tsv") ||
    { echo "FAIL: the sqlite3 shell with the extension differs from the program (< program, > shell)" >&2; exit 1; }
echo "ok: $rows rows of the salary statement alike"
