#!/bin/bash
# A drawing session through the real popups on the small screen
# (host/sessions/drawing.txt): graphics edit mode from the corner popup, a
# green stroke, blue at width 3, a red eraser stroke, a purple heart stamp,
# then the save button. Afterwards the board file must hold exactly the
# picture that expected_board works out from the same session, the
# screenshots must show that picture over the Today watermark, the save
# button must be gone after saving, and graphics edit mode must be stored.
#
# Runs inside run-on-screen.sh (WINEPREFIX and DISPLAY set):
#   drawing_session_test.sh BINDIR EXPECTED_BOARD_TOOL SCREEN_PROBE SESSION OUTDIR
set -u
bin=$1 tool=$2 probe=$3 session=$4 out=$5
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
source "$root/cmake/wine-env.sh"

passed=0 failed=0
pass() { passed=$((passed + 1)); }
fail() { failed=$((failed + 1)); echo "FAILED: $*"; }
check() { if "$@"; then pass; else fail "$*"; fi; }
finish() {
    echo "$passed passed, $failed failed"
    [ "$failed" -eq 0 ]
    exit
}

rm -rf "$out"
mkdir -p "$out"

# The item window starts below the shell's navigation bar: its height on
# this screen is the screen's item top.
top=$(wine "$probe" navigation-bar-height | tr -d '\r')
if [[ "$top" =~ ^[0-9]+$ ]]; then pass; else fail "no navigation bar height: \"$top\""; finish; fi
# Screen rows compared in full: below the page text (three lines from the
# toolbar's bottom, item y 19), down to the bottom of the screen.
band_first=$((top + 60)) band_last=319

# The item starts as on a fresh device (run-session.sh removes the settings
# and the board file that other tests left in the prefix).
"$root/host/run-session.sh" "$bin" "$out" "$session"
rc=$?
if [ "$rc" -eq 0 ]; then pass; else fail "the session did not play through (exit code $rc)"; fi
for f in registry.txt inkleaf_board.bmp drawing-unsaved.png drawing.png; do
    if [ -s "$out/$f" ]; then pass; else fail "the session left no $f"; fi
done
[ "$failed" -eq 0 ] || finish

# --- Settings: graphics edit mode was stored when it was switched on.
if grep -qxF "contdisp	REG_SZ	4	1\\0" "$out/registry.txt"; then
    pass
else
    fail "registry.txt: contdisp is not \"1\": $(grep '^contdisp' "$out/registry.txt")"
fi

# --- The board file, read back by an ordinary image reader.
if ! "$tool" "$session" "$out/expected_board.rgb" "$out/expected_screen.rgb" "$top" "$band_first" "$band_last"; then
    fail "expected_board could not follow $session"
    finish
fi
convert -size 640x640 -depth 8 "rgb:$out/expected_board.rgb" "$out/expected_board.png"
# BMP3: the plain 40-byte Windows header.
check test "$(identify -format '%m %w %h' "$out/inkleaf_board.bmp")" = "BMP3 640 640"
convert "$out/inkleaf_board.bmp" -depth 8 rgb:- >"$out/board.rgb"
for shot in drawing-unsaved drawing; do
    convert "$out/$shot.png" -depth 8 rgb:- >"$out/$shot.rgb"
    check test "$(stat -c %s "$out/$shot.rgb")" -eq $((240 * 320 * 3))
done

# Compares two RGB dumps of the given width; on a difference, fails with
# how many pixels differ and where the first five are (x, y + ROW0).
#   same_pixels EXPECTED ACTUAL WIDTH LABEL [ROW0]
same_pixels() {
    local expected=$1 actual=$2 width=$3 label=$4 row0=${5:-0}
    if cmp -s "$expected" "$actual"; then pass; return; fi
    if [ "$(stat -c %s "$expected")" -ne "$(stat -c %s "$actual")" ]; then
        fail "$label: $(stat -c %s "$actual") bytes, expected $(stat -c %s "$expected")"
        return
    fi
    fail "$(cmp -l "$expected" "$actual" | awk -v w="$width" -v label="$label" -v row0="$row0" '
        { p = int(($1 - 1) / 3); if (!(p in seen)) { seen[p] = 1; n++; if (n <= 5) order[n] = p } }
        END {
            printf "%s: %d pixels differ; first at", label, n
            for (i = 1; i <= n && i <= 5; i++) printf " (%d,%d)", order[i] % w, int(order[i] / w) + row0
        }')"
}

same_pixels "$out/expected_board.rgb" "$out/board.rgb" 640 "board file vs expected_board"

# Pixel (x, y) of an RGB dump of the given width, as "r,g,b":
#   pixel WIDTH X Y DUMP
pixel() {
    od -An -tu1 -v -j $((($3 * $1 + $2) * 3)) -N3 "$4" | awk '{ printf "%d,%d,%d", $1, $2, $3 }'
}
expect_pixel() {   # DUMP WIDTH X Y R,G,B WHAT
    local got
    got=$(pixel "$2" "$3" "$4" "$1")
    if [ "$got" = "$5" ]; then pass; else fail "$6: ($3,$4) of $(basename "$1") is $got, expected $5"; fi
}

# Pixels worked out by hand, image lines counted from the top. A point at
# item y lands on board y = y - 19, stored row 640 - board y, that is image
# line y - 20 (one line above the point's own line).
board=$out/board.rgb
grey=224,224,224 green=0,255,0 blue=0,0,255 red=255,0,0 purple=255,0,255
# First pen dot, width 2, at item (20, 70): a plus sign around (20, 50).
# Its left arm (19, 50) has nothing else near it; the corners stay grey.
expect_pixel "$board" 640 19 50 $green "left arm of the first dot"
expect_pixel "$board" 640 20 49 $green "top arm of the first dot"
expect_pixel "$board" 640 19 49 $grey "upper left corner of the first dot"
expect_pixel "$board" 640 19 51 $grey "lower left corner of the first dot"
expect_pixel "$board" 640 18 50 $grey "left of the first dot"
# The first stroke's last point is item (70, 180), its pen-up (74, 184):
# the pen-up dot is a plus around (74, 164), and nothing fills the gap
# diagonally between it and the plus around (70, 160).
expect_pixel "$board" 640 74 164 $green "pen-up dot of the first stroke"
expect_pixel "$board" 640 73 163 $grey "corner of the pen-up dot"
expect_pixel "$board" 640 72 162 $grey "between the last point and the pen-up dot"
# Second stroke, blue, width 3, starting at item (130, 70): a 5 x 5
# square without corners, columns 128..132, lines 48..52; the stroke runs
# off to the right, so column 128 belongs to the first dot alone.
expect_pixel "$board" 640 128 48 $grey "corner of the first width-3 dot"
expect_pixel "$board" 640 128 49 $blue "left edge of the first width-3 dot"
expect_pixel "$board" 640 128 52 $grey "lower corner of the first width-3 dot"
expect_pixel "$board" 640 127 50 $grey "left of the first width-3 dot"
# Eraser, red, width 5, from item (30, 130): a full 9 x 9 square, columns
# 26..34, lines 106..114, corners included.
expect_pixel "$board" 640 26 106 $red "upper left corner of the first eraser dot"
expect_pixel "$board" 640 26 114 $red "lower left corner of the first eraser dot"
expect_pixel "$board" 640 25 110 $grey "left of the first eraser dot"
expect_pixel "$board" 640 26 115 $grey "below the first eraser dot"
# Heart - S, purple, tapped at item (120, 135): anchor column 120, line
# 115. Its top line (dr +6, line 109) has two lobes, dx -4..-2 and +3..+5,
# with the red eraser line showing between them; its tip (dr -8, line 123)
# is dx 0 and +1; its anchor line starts at dx -6.
expect_pixel "$board" 640 120 115 $purple "anchor of the heart"
expect_pixel "$board" 640 116 109 $purple "left lobe of the heart"
expect_pixel "$board" 640 119 109 $red "eraser line between the heart's lobes"
expect_pixel "$board" 640 125 109 $purple "right lobe of the heart"
expect_pixel "$board" 640 126 109 $red "eraser line right of the heart's lobe"
expect_pixel "$board" 640 120 123 $purple "tip of the heart"
expect_pixel "$board" 640 121 123 $purple "tip of the heart, right half"
expect_pixel "$board" 640 119 123 $grey "left of the heart's tip"
expect_pixel "$board" 640 113 115 $grey "left end of the heart's anchor line"
expect_pixel "$board" 640 114 115 $purple "second pixel of the heart's anchor line"

# --- The screen: the shell's navigation bar above the item, then the Board
# from the toolbar's bottom (image line L at screen y top + the Board's top
# in the item + L), its grey left out so that the watermark shows through.
board_top=$((top + $(wine "$probe" board-top | tr -d '\r')))
# The watermark's colour at screen (x, y): pale blue where (x + y) / 16 is
# even, pale yellow where it is odd.
watermark() { if [ $((($1 + $2) / 16 % 2)) -eq 0 ]; then echo 226,236,250; else echo 250,242,220; fi; }
bar=40,80,150
for shot in drawing-unsaved drawing; do
    dump=$out/$shot.rgb
    expect_pixel "$dump" 240 120 0 $bar "$shot.png: the navigation bar's top"
    expect_pixel "$dump" 240 120 $((top - 1)) $bar "$shot.png: the navigation bar's bottom"
    expect_pixel "$dump" 240 120 "$top" "$(watermark 120 "$top")" "$shot.png: below the navigation bar"
    tail -c +$((band_first * 240 * 3 + 1)) "$dump" >"$out/$shot.band.rgb"
    same_pixels "$out/expected_screen.rgb" "$out/$shot.band.rgb" 240 "$shot.png rows $band_first..$band_last" "$band_first"
    expect_pixel "$dump" 240 19 $((board_top + 50)) $green "$shot.png: left arm of the first dot"
    expect_pixel "$dump" 240 128 $((board_top + 50)) $blue "$shot.png: left edge of the first width-3 dot"
    expect_pixel "$dump" 240 26 $((board_top + 106)) $red "$shot.png: corner of the first eraser dot"
    expect_pixel "$dump" 240 120 $((board_top + 115)) $purple "$shot.png: anchor of the heart"
    expect_pixel "$dump" 240 19 $((board_top + 49)) "$(watermark 19 $((board_top + 49)))" \
        "$shot.png: watermark above the first dot"
done

# Save button: 16 x 16 at item (202, 1). Counts the pixels there that are
# not the watermark.
not_watermark() {
    local dump=$1
    od -An -tu1 -v -w3 "$dump" | awk -v top="$top" '
        { x = (NR - 1) % 240; y = int((NR - 1) / 240) }
        x >= 202 && x < 218 && y >= top + 1 && y < top + 17 {
            a = (int((x + y) / 16) % 2 == 0)
            if (a && !($1 == 226 && $2 == 236 && $3 == 250)) n++
            if (!a && !($1 == 250 && $2 == 242 && $3 == 220)) n++
        }
        END { print n + 0 }'
}
before=$(not_watermark "$out/drawing-unsaved.rgb")
after=$(not_watermark "$out/drawing.rgb")
if [ "$before" -ge 128 ]; then pass; else fail "save button before saving: only $before of 256 pixels drawn"; fi
if [ "$after" -eq 0 ]; then pass; else fail "save button after saving: $after pixels still drawn"; fi

finish
