#!/usr/bin/env bash
# Installs what is missing, builds, makes the demo database demo/BAZA.mdb when
# there is none and starts the program in demo/ (its database is BAZA.mdb in
# the working directory). Without a display it says so and runs the program
# on a virtual screen (Xvfb) instead.
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

cd demo
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    # No graphical session (a container, a bare SSH session): the program
    # runs on a virtual screen of its own, where nobody sees its windows.
    echo "Нет графического дисплея (переменная DISPLAY не задана): программа запущена на виртуальном" \
        "экране Xvfb, её окна не видны. Завершение: Ctrl+C. Чтобы видеть окна, запустите" \
        "scripts/run.sh в графическом сеансе." >&2
    exec xvfb-run --auto-servernum --server-args="-screen 0 1280x800x24 -nolisten tcp" "$root/build/app/kultbuh"
fi
exec "$root/build/app/kultbuh"
