#!/bin/sh
# Draws the message dialog's icons and button pictures into ui/resources/ (or
# the folder given).
exec sh "$(dirname "$0")/lib/draw-art.sh" make-msgdlg-art ui/resources "$@"
