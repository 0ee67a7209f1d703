#!/usr/bin/env bash
# Renders the application icon dist/icons/ru.kultbuh.Kultbuh.svg into the
# hicolor PNG sizes in dist/icons/hicolor/. The PNGs are committed, so the
# build needs no SVG renderer; run this after changing the SVG. Needs
# rsvg-convert (Debian package librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/../dist/icons"
command -v rsvg-convert >/dev/null || { echo "make-icon: rsvg-convert is missing (apt-get install librsvg2-bin)" >&2; exit 1; }
for size in 16 22 24 32 48 64 128 256; do
    mkdir -p "hicolor/${size}x${size}/apps"
    rsvg-convert -w "$size" -h "$size" ru.kultbuh.Kultbuh.svg -o "hicolor/${size}x${size}/apps/ru.kultbuh.Kultbuh.png"
done
