#!/bin/sh
# Draws app/resources/splash.png, the splash screen's 290 x 380 picture,
# with the small Qt program beside this script.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
out=${1:-$here/../app/resources/splash.png}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# shellcheck disable=SC2046
g++ -std=c++20 -O1 -fPIC -o "$work/make-splash" "$here/make-splash.cpp" $(pkg-config --cflags --libs Qt6Gui)
QT_QPA_PLATFORM=offscreen "$work/make-splash" "$out"
echo "wrote $out"
