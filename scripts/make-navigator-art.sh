#!/bin/sh
# Draws the record navigator's button pictures into databound/resources/ (or
# the folder given).
exec sh "$(dirname "$0")/lib/draw-art.sh" make-navigator-art databound/resources "$@"
