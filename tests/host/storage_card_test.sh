#!/bin/bash
# The item installed on a storage card, where none of the program folders
# it knows holds it: three starts of the Today screen (a drawing saved,
# a page edited with the editor, a plain start). The Board is created and
# kept beside the DLL, the drawing survives the restarts, and the corner
# popup's "Edit text...(&E)" starts the editor from the card. The two files
# come from a folder of their own (INKLEAF_ITEM_FILES), not from BINDIR:
# copies with a byte appended after their last section, so that the files
# installed can be told from the build's.
#
# Runs inside run-on-screen.sh (WINEPREFIX and DISPLAY set):
#   storage_card_test.sh BINDIR SESSIONS_DIR OUTDIR
set -u
bin=$1 sessions=$2 out=$3
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/cmake/wine-env.sh"

passed=0 failed=0
check() { if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $*"; fi; }

export INKLEAF_INSTALL_DIR='C:\Storage Card\Program Files\inkleaf_item'
card="$WINEPREFIX/drive_c/Storage Card/Program Files/inkleaf_item"
listed="$WINEPREFIX/drive_c/Program Files/inkleaf_item"
rm -rf "$out" "$WINEPREFIX/drive_c/Storage Card" "$listed"
mkdir -p "$out/files"
for file in inkleaf_item.dll inkpad_app.exe; do
    { cat "$bin/$file"; printf '\0'; } >"$out/files/$file"
done
export INKLEAF_ITEM_FILES=$out/files

"$root/host/run-session.sh" "$bin" "$out" \
    "$sessions/drawing.txt" "$sessions/edit-story.txt" "$sessions/first-start.txt"
check test $? -eq 0
# The Board lies beside the DLL, and no program folder of the list was made.
check test -s "$card/inkleaf_board.bmp"
check test "$(stat -c %s "$card/inkleaf_board.bmp")" -eq 1228854
check test ! -e "$listed"
check cmp -s "$card/inkleaf_item.dll" "$out/files/inkleaf_item.dll"
check cmp -s "$card/inkpad_app.exe" "$out/files/inkpad_app.exe"
# The drawing is still on it after two more starts: pixel bytes other than
# the background grey.
ink=$(od -An -v -tu1 -j54 "$card/inkleaf_board.bmp" | tr -s ' ' '\n' | grep -cvE '^(224)?$')
check test "$ink" -gt 0
# The editor, started from the card, wrote the page the item showed.
check grep -qF 'ptext1	REG_SZ	102	Shopping list:' "$out/registry.txt"
check test -s "$out/story-6-today-new-text.png"
check test -s "$out/today.png"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
