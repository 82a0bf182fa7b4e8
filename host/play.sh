#!/bin/bash
# Puts the item and the editor of BINDIR on the current prefix's device (the
# settings, page texts and board file there are kept) and runs the Today
# stand-in with the mouse as the stylus until its window is closed.
# INKLEAF_ITEM_FILES names a folder whose item and editor are put there
# instead (as in run-session.sh).
#   play.sh BINDIR
set -u
bin=$1
source "$(dirname "$0")/../cmake/wine-env.sh"
install_dir="$WINEPREFIX/drive_c/Program Files/inkleaf_item"
mkdir -p "$install_dir"
files=${INKLEAF_ITEM_FILES:-$bin}
cp "$files/inkleaf_item.dll" "$files/inkpad_app.exe" "$install_dir/" || exit 1
cp "$files"/*.map "$install_dir/" 2>/dev/null || true   # names functions in an ARM fault's report
host=$bin/today_host.exe
wine "$host" install 'C:\Program Files\inkleaf_item\inkleaf_item.dll' || exit 1
echo "inkleaf: the Today screen is on $DISPLAY; close it, or press Esc in it, to end"
wine "$host" run --interactive </dev/null
