#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer (build-fuzz/) and runs each for the given
# seconds (default 60) on a copy of its seed corpus fuzz/corpus/<name>/, so
# that the repository's corpus never grows by itself. Prints one line per
# target with its executions; fails on any crash, broken property, hang
# (5 s on one input) or leak, and leaves the reproducer in build-fuzz/findings/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}

bash scripts/install-deps.sh

cmake -S . -B build-fuzz -G Ninja -DKULTBUH_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++-14 \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz --parallel "$(nproc)" >/dev/null

work=build-fuzz/runs
findings=build-fuzz/findings
rm -rf "$work"
mkdir -p "$findings"
export LC_ALL=C.UTF-8
failed=()
for source in fuzz/fuzz_*.cpp; do
    name=$(basename "$source" .cpp)
    name=${name#fuzz_}
    corpus=$work/$name
    mkdir -p "$corpus"
    cp fuzz/corpus/"$name"/* "$corpus"/
    log=$work/$name.log
    if build-fuzz/fuzz/fuzz_"$name" "$corpus" -max_total_time="$seconds" -timeout=5 -print_final_stats=1 \
        -artifact_prefix="$findings/$name-" >"$log" 2>&1; then
        result=ok
    else
        result="FAILED (see $log)"
        failed+=("$name")
    fi
    executions=$(awk '/stat::number_of_executed_units/ { n = $2 } END { print n + 0 }' "$log")
    printf 'fuzz_%-10s %10d executions in %ss: %s\n' "$name" "$executions" "$seconds" "$result"
done

if [[ ${#failed[@]} -gt 0 ]]; then
    echo "fuzz: failed: ${failed[*]}" >&2
    for name in "${failed[@]}"; do
        grep -E 'ERROR|property broken|SUMMARY|Test unit written' "$work/$name.log" | head -5 >&2 || true
    done
    exit 1
fi
