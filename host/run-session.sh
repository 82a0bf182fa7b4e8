#!/bin/bash
# Installs the item (and the editor, when built) into the current wine
# prefix as a Today item, plays a stylus session in the Today stand-in, and
# leaves in OUTDIR what the item left: the item key's values and the board
# file, beside the session's screenshots.
#   run-session.sh BINDIR OUTDIR SESSION [SECONDS]
set -u
bin=$1 out=$2 session=$3 seconds=${4:-0}
install_dir="$WINEPREFIX/drive_c/Program Files/inkleaf_item"
mkdir -p "$install_dir" "$out"
cp "$bin/inkleaf_item.dll" "$install_dir/"
[ -f "$bin/inkpad_app.exe" ] && cp "$bin/inkpad_app.exe" "$install_dir/"
host=$bin/today_host.exe
wine "$host" install 'C:\Program Files\inkleaf_item\inkleaf_item.dll' || exit 1
args=(run --script "$session")
[ "$seconds" != 0 ] && args+=(--seconds "$seconds")
(cd "$out" && wine "$host" "${args[@]}" </dev/null)
rc=$?
(cd "$out" && wine "$host" dump-key registry.txt)
cp "$install_dir/inkleaf_board.bmp" "$out/" 2>/dev/null
exit "$rc"
