#!/usr/bin/env bash
# Fetches Monitor.mdb, a small Jet 4.0 database file shipped in the examples
# of Debian's mrtg-contrib package, into the folder given (the build folder
# keeps it for later runs). Only the package file is downloaded and unpacked;
# nothing is installed. Fails when the package cannot be had.
set -euo pipefail

dest=${1:?usage: fetch-jet-sample.sh FOLDER}
sample="$dest/Monitor.mdb"
[[ -s "$sample" ]] && exit 0

mkdir -p "$dest"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work" # apt's download user must be able to write here
cd "$work"
apt-get download -qq mrtg-contrib 2>/dev/null || {
    echo "fetch-jet-sample: пакет mrtg-contrib не загружен (нужен доступ к архиву Debian)" >&2
    exit 1
}
dpkg-deb -x mrtg-contrib_*.deb unpacked
found=$(find unpacked -name Monitor.mdb -print -quit)
if [[ -z "$found" ]]; then
    echo "fetch-jet-sample: в пакете mrtg-contrib нет файла Monitor.mdb" >&2
    exit 1
fi
cp "$found" "$sample.part"
mv "$sample.part" "$sample"
