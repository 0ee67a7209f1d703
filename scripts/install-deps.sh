#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running kultbuh
# need, and only those that are missing. Quiet when everything is there.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-translations-l10n libxkbcommon-dev
    # the payroll chart; Debian's Qt6Charts CMake files need Qt6OpenGL's, which qt6-charts-dev does not bring
    qt6-charts-dev libqt6opengl6-dev
    libsqlite3-dev libicu-dev libxlsxwriter-dev mdbtools-dev
    xvfb xauth xdotool x11-utils x11-xkb-utils imagemagick
    fonts-dejavu-core fonts-wine
    poppler-utils python3-openpyxl
    postgresql-15 libpq-dev
    xdg-utils
    desktop-file-utils appstream sqlite3 dpkg-dev
    clang-14 libclang-rt-14-dev
)

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null || true)
    if [[ "$status" != "installed" ]]; then
        missing+=("$package")
    fi
done

if [[ ${#missing[@]} -eq 0 ]]; then
    exit 0
fi

if [[ $(id -u) -eq 0 ]]; then
    as_root=()
elif command -v sudo >/dev/null 2>&1; then
    as_root=(sudo)
else
    echo "install-deps: не хватает пакетов (${missing[*]}), а прав root и sudo нет" >&2
    exit 1
fi

echo "install-deps: устанавливаются пакеты: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
# dpkg runs programs of the system folders, which a minimal PATH may lack.
export PATH="$PATH:/usr/local/sbin:/usr/sbin:/sbin"
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
