#!/usr/bin/env bash
# Builds and runs the benchmark. The generated databases (1,000 and 10,000
# employees) are kept in build/bench/data and reused by later runs.
# Arguments go to kultbuh-bench: --runs=N, --sizes=1000,10000, --plan, --editors
# (only the record editors: the data part and the forms shown with their widgets), --engine=server (also on a
# temporary PostgreSQL server of its own, stopped at the end) or --server=CONNINFO (also on that server).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -G Ninja
cmake --build build --target kultbuh-bench --parallel "$(nproc)"
build/bench/kultbuh-bench "$@"
