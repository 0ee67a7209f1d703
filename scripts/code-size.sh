#!/usr/bin/env bash
# Prints the lines of code per folder of the program and of its tests, both totals and their ratio;
# fails when the tests outgrow the limit (0.36 of the program, or the first argument).
#
# Code is every file of a programming or build language: .cpp .h .c .py .sh .cmake and
# CMakeLists.txt. Data (fuzz corpora, suppression lists, SQL, images, texts) is not code.
# Tests are tests/ and fuzz/; the program is every folder that holds its code plus the top-level
# CMakeLists.txt. bench/ and scripts/ count on neither side.
set -euo pipefail
cd "$(dirname "$0")/.."
limit=${1:-0.36}

lines() {
    find "$@" -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.c' -o -name '*.py' -o -name '*.sh' \
        -o -name '*.cmake' -o -name CMakeLists.txt \) -print0 2>/dev/null | xargs -0 -r cat | wc -l
}

# Prints one folder's lines and adds them to the named total.
count() {
    local -n total=$1
    local n
    n=$(lines "${@:2}")
    printf '  %-20s %6d\n' "$2" "$n"
    total=$((total + n))
}

program=0
echo 'program:'
for dir in app automation cmake data databound dist documents editors launcher reports spreadsheet tools ui; do
    [[ -d $dir ]] && count program "$dir"
done
count program CMakeLists.txt
tests=0
echo 'tests:'
for dir in tests/*/ fuzz tests/CMakeLists.txt; do
    [[ -e $dir ]] && count tests "${dir%/}"
done
ratio=$(awk -v t="$tests" -v p="$program" 'BEGIN { printf "%.3f", t / p }')

printf 'program: %d lines, tests: %d lines\n' "$program" "$tests"
printf 'tests / program: %s (limit %s)\n' "$ratio" "$limit"
# The unrounded ratio is compared, so that 0.3604 does not pass as 0.36.
if awk -v t="$tests" -v p="$program" -v l="$limit" 'BEGIN { exit !(t / p > l) }'; then
    echo "code-size: the tests are larger than $limit of the program" >&2
    exit 1
fi
