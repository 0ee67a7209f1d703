#!/usr/bin/env bash
# Installs what is missing, builds everything in build/ and runs every test.
# In CI (CI=true) warnings are errors, and the tests run a second time in a
# Debug build with AddressSanitizer and UndefinedBehaviorSanitizer (build-asan/),
# every fuzz target runs for 20 seconds (scripts/fuzz.sh, build-fuzz/), and the
# Debian package is built, installed, started and removed.
# Last, the sizes of program and test code (scripts/code-size.sh).
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

if [[ "${CI:-}" == "true" ]]; then
    cmake -S . -B build-asan "${options[@]}" -DCMAKE_BUILD_TYPE=Debug -DKULTBUH_SANITIZE=ON
    cmake --build build-asan --parallel "$(nproc)"
    ctest --test-dir build-asan --output-on-failure --parallel "$(nproc)"
    bash scripts/fuzz.sh 20
fi

# The Debian package: built (build-package/), installed, started, removed.
if [[ "${CI:-}" == "true" ]]; then
    bash scripts/package.sh
    bash scripts/package-test.sh build-package/kultbuh_*.deb
fi

bash scripts/code-size.sh
