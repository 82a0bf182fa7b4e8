#!/bin/bash
# A page edited from the Today screen, with the real item, editor and popups
# (host/sessions/edit-story.txt): the corner popup's "Edit text...(&E)"
# starts the editor on the current page, the text is changed and confirmed,
# the editor is closed, and the item then shows the new text.
#
# The shell's navigation bar shows the window in front all along, with its
# "ok" over the About dialog alone; that "ok" closes the dialog.
#
# Runs inside run-on-screen.sh (WINEPREFIX and DISPLAY set):
#   edit_story_test.sh BINDIR SCREEN_PROBE SESSION OUTDIR
set -u
bin=$1 probe=$2 session=$3 out=$4
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/cmake/wine-env.sh"

passed=0 failed=0
check() { if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $*"; fi; }
lacks() { ! grep -qF "$2" "$1"; }

rm -rf "$out"
mkdir -p "$out"
"$root/host/run-session.sh" "$bin" "$out" "$session"
check test $? -eq 0

# The editor wrote the page the item showed, and nothing else.
check grep -qF 'ptext1	REG_SZ	102	Shopping list:\r\n- ink\r\n- paper leaves\r\n- a new pen' "$out/registry.txt"
check grep -qF "ptext2	REG_SZ	88	(tab2: Tap" "$out/registry.txt"
# OK sets no refresh of its own, nor does the About dialog's "ok" in the
# navigation bar: "uscreen" was never written (the item writes it back to
# "0" only after it found it set, so any write shows).
check lacks "$out/registry.txt" 'uscreen'
check grep -q '^cpage	' "$out/registry.txt"    # the dump holds the item's values
for shot in 1-today 2-editor 3-edit-dialog 4-editor-after-ok 5-about 6-today-new-text; do
    check test -s "$out/story-$shot.png"
done

# The item window starts below the navigation bar, as high as the bar is.
top=$(wine "$probe" navigation-bar-height | tr -d '\r')
[[ "$top" =~ ^[0-9]+$ ]] || top=0
check test "$top" -gt 0

# Pixels of colour $4 in screen rows y0..y1 ($2..$3) of the image $1, in
# columns x0..x1 ($5..$6; all of them when left out).
count_pixels() {
    local x0=${5:-0} x1=${6:-239}
    convert "$1" -crop "$((x1 - x0 + 1))x$(($3 - $2 + 1))+$x0+$2" +repage -depth 8 txt:- | grep -cF ": ($4)"
}
# Pixels of the theme's text colour (0, 0, 128).
text_pixels() { count_pixels "$1" "$2" "$3" 0,0,128; }
# Before, the page had three lines (item rows 0..45); the new text has a
# fourth, below them: the item repainted with the text the editor wrote.
before=$(text_pixels "$out/story-1-today.png" $((top + 46)) $((top + 60)))
after=$(text_pixels "$out/story-6-today-new-text.png" $((top + 46)) $((top + 60)))
check test "$before" -eq 0
check test "$after" -gt 20
# The editor showed the page it was started for, then the edited one.
check test "$(text_pixels "$out/story-1-today.png" "$top" $((top + 45)))" -gt 100

# The navigation bar (40, 80, 150) along the top of every screenshot, the
# whole height of its rows 0..top-1 at its left end, where its title begins
# with white text.
bar=40,80,150
for shot in 1-today 2-editor 3-edit-dialog 4-editor-after-ok 5-about 6-today-new-text; do
    check test "$(count_pixels "$out/story-$shot.png" 0 $((top - 1)) $bar 0 1)" -eq $((2 * top))
    check test "$(count_pixels "$out/story-$shot.png" 0 $((top - 1)) 255,255,255 0 80)" -gt 20
done
# Its right end: the "ok" over the About dialog, and only there: elsewhere
# the last fifth of the bar is its colour alone.
for shot in 1-today 2-editor 3-edit-dialog 4-editor-after-ok 6-today-new-text; do
    check test "$(count_pixels "$out/story-$shot.png" 0 $((top - 1)) $bar 192 239)" -eq $((48 * top))
done
check test "$(count_pixels "$out/story-5-about.png" 0 $((top - 1)) $bar 192 239)" -lt $((24 * top))
# The About dialog fills the screen from just below the bar: no caption of
# its own. Its background, the dialog colour, starts at the bar's bottom.
dialog=$(convert "$out/story-5-about.png" -crop "1x1+4+$((top + 60))" -depth 8 txt:- |
         sed -nE '2s/^[^(]*\(([0-9]+),([0-9]+),([0-9]+).*/\1,\2,\3/p')
check test "$(count_pixels "$out/story-5-about.png" "$top" $((top + 20)) "$dialog" 0 239)" -gt $((240 * 18))
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
