#!/usr/bin/env bash
# Installs what is missing, builds everything in build/ and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

options=(-G Ninja)
if [[ "${CI:-}" == "true" ]]; then
    options+=(-DKULTBUH_WERROR=ON)
fi
cmake -S . -B build "${options[@]}"
cmake --build build --parallel "$(nproc)"
ctest --test-dir build --output-on-failure --parallel "$(nproc)"
