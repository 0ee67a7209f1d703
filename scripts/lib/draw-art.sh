#!/bin/sh
# draw-art.sh GENERATOR DEFAULT_FOLDER [FOLDER]: builds scripts/GENERATOR.cpp,
# a small Qt program, and runs it to draw its pictures into FOLDER (by
# default DEFAULT_FOLDER, relative to the repository).
set -eu
scripts=$(cd "$(dirname "$0")/.." && pwd)
generator=$1
out=${3:-$scripts/../$2}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# shellcheck disable=SC2046
g++ -std=c++20 -O1 -fPIC -I"$scripts" -o "$work/$generator" "$scripts/$generator.cpp" $(pkg-config --cflags --libs Qt6Gui)
mkdir -p "$out"
QT_QPA_PLATFORM=offscreen "$work/$generator" "$out"
echo "wrote the pictures into $out"
