#!/bin/bash
# `./inkleaf play` used as a person uses it: on an X display of its own
# (standing in for the user's), real pointer and key events from xdotool
# open the corner popup and choose "To Graphics Edit mode(&G)", draw a
# stroke, press the save button and end the play with Esc. The board file
# then holds the stroke, and a second play shows it again. Without a
# display the command refuses with one line.
#   play_test.sh INKLEAF BUILD MENU_PROBE OUTDIR
set -u
inkleaf=$1 arch=$2 probe=$3 out=$4
root=$(cd "$(dirname "$0")/../.." && pwd)
passed=0 failed=0
check() {
    if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED (line ${BASH_LINENO[0]}): $*"; fi
}
finish() { echo "$passed passed, $failed failed"; [ "$failed" -eq 0 ]; exit; }

rm -rf "$out"
mkdir -p "$out"
export INKLEAF_PLAY_HOME=$out/devices
# The play runs the build of this suite.
if [ "$arch" = x64 ]; then export INKLEAF_NO_X86=1; else unset INKLEAF_NO_X86; fi
export WINEARCH
WINEARCH=$([ "$arch" = x64 ] && echo win64 || echo win32)
source "$root/cmake/wine-env.sh"
device=$INKLEAF_PLAY_HOME/$arch-small
board="$device/drive_c/Program Files/inkleaf_item/inkleaf_board.bmp"

out_line=$(env -u DISPLAY "$inkleaf" play 2>&1)
check test $? -ne 0
check test "$(wc -l <<<"$out_line")" -eq 1
check grep -q 'needs a display' <<<"$out_line"

# The user's display.
fifo=$(mktemp -u)
mkfifo "$fifo"
Xvfb -displayfd 5 -screen 0 640x480x24 -nolisten tcp 5>"$fifo" >/dev/null 2>&1 &
xvfb=$!
read -r number <"$fifo"
rm -f "$fifo"
export DISPLAY=":$number"
play_pid=
cleanup() {
    [ -n "$play_pid" ] && kill "$play_pid" 2>/dev/null
    kill "$xvfb" 2>/dev/null
    wait 2>/dev/null
}
trap cleanup EXIT

# ImageMagick's text form of one pixel as "R,G,B".
rgb() { sed -nE '2s/^[^(]*\(([0-9]+),([0-9]+),([0-9]+).*/\1,\2,\3/p'; }
# pixel X Y: the colour of the device screen's pixel.
pixel() { import -window "$window" -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null | rgb; }
# file_pixel FILE X Y: the colour of an image file's pixel.
file_pixel() { convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- | rgb; }
# until COMMAND...: up to 10 s for COMMAND to succeed.
until_true() {
    local i
    for i in $(seq 100); do "$@" && return 0; sleep 0.1; done
    return 1
}
is() { [ "$(pixel "$1" "$2")" = "$3" ]; }
isnt() { [ "$(pixel "$1" "$2")" != "$3" ]; }

# play [--fresh]: starts a play and waits for its Today screen; sets
# window (the device screen on the display) and inner (its own display).
play() {
    "$inkleaf" play small "$@" >"$out/play.log" 2>&1 &
    play_pid=$!
    local i
    for i in $(seq 600); do
        grep -q 'the Today screen is on' "$out/play.log" && break
        kill -0 "$play_pid" 2>/dev/null || break
        sleep 0.5
    done
    inner=$(sed -nE 's/.*the Today screen is on (:[0-9]+).*/\1/p' "$out/play.log")
    window=$(xdotool search --name 'Inkleaf \(small screen\)' | head -1)
    [ -n "$inner" ] && [ -n "$window" ] && until_true is 2 2 40,80,150
}
# Esc in the Today screen ends the play, with everything it started. A
# click on the title strip first makes sure the keys go to it.
end_play() {
    xdotool mousemove --window "$window" 120 8 click 1 key Escape
    local i
    for i in $(seq 100); do kill -0 "$play_pid" 2>/dev/null || break; sleep 0.1; done
    ! kill -0 "$play_pid" 2>/dev/null && wait "$play_pid"
}

green=0,255,0
play --fresh
check test $? -eq 0 || { cat "$out/play.log"; finish; }
grep -q "playing the $arch build" "$out/play.log"
check test $? -eq 0

# The corner popup opens under a click, and a click on its first entry,
# "To Graphics Edit mode(&G)", chooses it: the toolbar shows.
# The click on the entry waits until the menu shows on the screen where it
# lands: wine maps the menu's window some time after it exists, and under
# load a click before that would fall on the Today screen and close it.
import -window "$window" -depth 8 "$out/before-menu.png"
xdotool mousemove --window "$window" 4 24 click 1
menu=$(DISPLAY=$inner WINEPREFIX=$device wine "$probe")
check test -n "$menu"
read -r left top right bottom <<<"$menu"
under_menu=$(file_pixel "$out/before-menu.png" $((left + 4)) $((top + 10)))
check until_true isnt $((left + 4)) $((top + 10)) "$under_menu"
xdotool mousemove --window "$window" $((left + 30)) $((top + 10)) click 1
check until_true is 48 23 "$green"        # the pen's colour swatch
before_stroke=$(pixel 100 115)

# A drag is a stroke with the green pen; the save button shows. The
# pointer moves at a hand's pace: a move every 20 ms.
xdotool mousemove --window "$window" 40 100 mousedown 1
for x in $(seq 44 4 150); do
    xdotool mousemove --window "$window" "$x" $((100 + (x - 40) / 4)) sleep 0.02
done
xdotool mouseup 1
check until_true is 100 115 "$green"
save_colour=$(pixel 208 28)
check test "$save_colour" != "$before_stroke"

# The save button saves and goes away.
xdotool mousemove --window "$window" 208 28 click 1
check until_true isnt 208 28 "$save_colour"
end_play
check test $? -eq 0
check test -z "$(pgrep -f "Xephyr.*Inkleaf" 2>/dev/null)"

# The board file holds the stroke (board y = screen y - 39), and only it.
board_pixel() { file_pixel "$board" "$@"; }
check test "$(identify -format '%w %h' "$board")" = "640 640"
check test "$(board_pixel 100 76)" = "$green"
check test "$(board_pixel 40 61)" = "$green"
check test "$(board_pixel 100 150)" = 224,224,224

# A second play on the kept device shows the drawing again, still in
# graphics edit mode.
play
check test $? -eq 0
check until_true is 100 115 "$green"
check isnt 208 28 "$save_colour"    # nothing unsaved
end_play
check test $? -eq 0
finish
