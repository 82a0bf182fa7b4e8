#!/bin/bash
# A page edited from the Today screen, with the real item, editor and popups
# (host/sessions/edit-story.txt): the corner popup's "Edit text...(&E)"
# starts the editor on the current page, the text is changed and confirmed,
# the editor is closed, and the item then shows the new text.
#
# Runs inside run-on-screen.sh (WINEPREFIX and DISPLAY set):
#   edit_story_test.sh BINDIR SESSION OUTDIR
set -u
bin=$1 session=$2 out=$3
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/cmake/wine-env.sh"

passed=0 failed=0
check() { if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $*"; fi; }
lacks() { ! grep -qF "$2" "$1"; }

rm -rf "$out"
mkdir -p "$out"
wine reg delete 'HKLM\Software\Microsoft\Today\Items\inkleaf_item' /f >/dev/null 2>&1
"$root/host/run-session.sh" "$bin" "$out" "$session"
check test $? -eq 0

# The editor wrote the page the item showed, and nothing else.
check grep -qF 'ptext1	REG_SZ	102	Shopping list:\r\n- ink\r\n- paper leaves\r\n- a new pen' "$out/registry.txt"
check grep -qF "ptext2	REG_SZ	88	(tab2: Tap" "$out/registry.txt"
# OK sets no refresh of its own, nor does the About dialog's OK: "uscreen"
# was never written (the item writes it back to "0" only after it found it
# set, so any write shows).
check lacks "$out/registry.txt" 'uscreen'
check grep -q '^cpage	' "$out/registry.txt"    # the dump holds the item's values
for shot in 1-today 2-editor 3-edit-dialog 4-editor-after-ok 5-about 6-today-new-text; do
    check test -s "$out/story-$shot.png"
done

# Pixels of the theme's text colour (0, 0, 128) in screen rows y0..y1.
text_pixels() {
    convert "$1" -crop "240x$(($3 - $2 + 1))+0+$2" +repage -fill white +opaque 'rgb(0,0,128)' \
        -fill black -opaque 'rgb(0,0,128)' -negate -format '%[fx:round(mean*w*h)]' info:
}
# Before, the page had three lines (screen rows 20..65); the new text has a
# fourth, below them: the item repainted with the text the editor wrote.
before=$(text_pixels "$out/story-1-today.png" 66 80)
after=$(text_pixels "$out/story-6-today-new-text.png" 66 80)
check test "$before" -eq 0
check test "$after" -gt 20
# The editor showed the page it was started for, then the edited one.
check test "$(text_pixels "$out/story-1-today.png" 20 65)" -gt 100
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
