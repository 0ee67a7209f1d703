#!/usr/bin/env bash
# Prints the lines of C++ (.cpp and .h) in the program's source folders and in
# tests/, and their ratio; fails when the tests outgrow the limit (0.45 of the
# program, or the first argument).
set -euo pipefail
cd "$(dirname "$0")/.."
limit=${1:-0.45}

lines() {
    find "$@" \( -name '*.cpp' -o -name '*.h' \) -type f -print0 2>/dev/null | xargs -0 cat | wc -l
}

sources=()
for dir in app automation bench data databound editors launcher reports spreadsheet tools ui; do
    [[ -d $dir ]] && sources+=("$dir")
done
program=$(lines "${sources[@]}")
tests=$(lines tests)
ratio=$(awk -v t="$tests" -v p="$program" 'BEGIN { printf "%.2f", t / p }')

printf 'program (%s): %d lines\n' "${sources[*]}" "$program"
printf 'tests: %d lines\n' "$tests"
printf 'tests / program: %s (limit %s)\n' "$ratio" "$limit"
if awk -v r="$ratio" -v l="$limit" 'BEGIN { exit !(r > l) }'; then
    echo "code-size: the tests are larger than $limit of the program" >&2
    exit 1
fi
