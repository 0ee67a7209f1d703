#!/usr/bin/env bash
# Installs what is missing, builds, makes the demo database demo/BAZA.mdb when
# there is none and starts the program in demo/ (its database is BAZA.mdb in
# the working directory). Without a display it says so and stops.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

bash scripts/install-deps.sh
cmake -S . -B build -G Ninja
cmake --build build --parallel "$(nproc)"

mkdir -p demo
if [[ ! -e demo/BAZA.mdb ]]; then
    build/tools/kultbuh-db demo demo/BAZA.mdb
    echo "Создана демонстрационная база данных demo/BAZA.mdb"
fi

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    echo "Нет графического дисплея (переменная DISPLAY не задана): окно программы открыть негде." >&2
    echo "Запустите scripts/run.sh в графическом сеансе или через xvfb-run." >&2
    exit 1
fi

cd demo
exec "$root/build/app/kultbuh"
