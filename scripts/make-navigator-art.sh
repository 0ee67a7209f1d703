#!/bin/sh
# Draws the record navigator's button pictures into editors/resources/ (or
# the folder given) with the small Qt program beside this script.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
out=${1:-$here/../editors/resources}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# shellcheck disable=SC2046
g++ -std=c++20 -O1 -fPIC -o "$work/make-navigator-art" "$here/make-navigator-art.cpp" $(pkg-config --cflags --libs Qt6Gui)
mkdir -p "$out"
QT_QPA_PLATFORM=offscreen "$work/make-navigator-art" "$out"
echo "wrote the pictures into $out"
