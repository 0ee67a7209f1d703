#!/usr/bin/env bash
# Installs what is missing, builds, makes the demo database demo/BAZA.mdb when
# there is none and starts the program in demo/. Where the program cannot be
# started, prints the salary statement for April 2013 of the demo database.
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

# The statement of the program's first button, for the picker's initial month.
print_statement() {
    local month="2013-04-01 12:32:52"
    echo "Зарплатная ведомость за 04.2013 (demo/BAZA.mdb):"
    build/tools/kultbuh-db query demo/BAZA.mdb \
        --param "D1=datetime:$month" --param "D2=datetime:$month" \
        --param "D3=datetime:$month" --param "D4=datetime:$month" -- \
        "SELECT Sotr.FIO, Stavka.Sum, OtrChas.Count, ROUND(Stavka.Sum*OtrChas.Count/20), Stavka.Sum*0.12, " \
        "Stavka.Sum*0.01, Stavka.Sum*0.4, Stavka.Sum-Stavka.Sum*0.12-Stavka.Sum*0.01, Premia.Premia*Stavka.Sum/100, Stavka.Sum-Stavka.Sum*0.12-Stavka.Sum*0.01+Premia.Premia*Stavka.Sum/100" \
        "FROM Stavka, Sotr, Premia, OtrChas" \
        "WHERE Stavka.IDSotr = Sotr.ID and Sotr.ID  = Premia.IDSotr and Sotr.ID = OtrChas.IDSotr" \
        "and Month(Premia.Data) = Month(:D1) and Year(Premia.Data) = Year(:D2)" \
        "and Month(OtrChas.Data) = Month(:D3) and Year(OtrChas.Data) = Year(:D4)" \
        "ORDER BY Sotr.FIO"
}

if [[ ! -x build/app/kultbuh ]]; then
    echo "Программа build/app/kultbuh не собрана."
    print_statement
    exit 0
fi

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    echo "Нет графического дисплея (переменная DISPLAY не задана): окно программы открыть негде." >&2
    echo "Запустите scripts/run.sh в графическом сеансе или через xvfb-run." >&2
    print_statement
    exit 1
fi

cd demo
exec "$root/build/app/kultbuh"
