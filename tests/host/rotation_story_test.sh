#!/bin/bash
# Turns of the small screen with the real item, editor and popups
# (host/sessions/rotation.txt, then about-rotation.txt): after each turn the
# screenshots have the turned size, the navigation bar spans them, a stroke
# lands under the stylus, and the editor's windows fill the turned screen
# below the bar with their menu bars along its new bottom; the page texts
# and the settings are as a drawing without turns leaves them.
#
# Runs inside run-on-screen.sh (WINEPREFIX and DISPLAY set):
#   rotation_story_test.sh BINDIR SESSIONS OUTDIR
set -u
bin=$1 sessions=$2 out=$3
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/cmake/wine-env.sh"

passed=0 failed=0
check() { if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED (line ${BASH_LINENO[0]}): $*"; fi; }

rm -rf "$out"
mkdir -p "$out"
"$root/host/run-session.sh" "$bin" "$out" "$sessions/rotation.txt" "$sessions/about-rotation.txt"
check test $? -eq 0

size() { identify -format '%wx%h' "$out/$1.png"; }
# pixel SHOT X Y: "R,G,B" of a screenshot's pixel.
pixel() { convert "$out/$1.png" -crop "1x1+$2+$3" -depth 8 txt:- | sed -nE '2s/^[^(]*\(([0-9]+),([0-9]+),([0-9]+).*/\1,\2,\3/p'; }
# run SHOT Y X0 X1 COLOUR: every pixel of row Y from X0 to X1 has COLOUR.
row_is() {
    [ "$(convert "$out/$1.png" -crop "$(($4 - $3 + 1))x1+$3+$2" +repage -depth 8 txt:- | grep -cF ": ($5)")" -eq $(($4 - $3 + 1)) ]
}
bar=40,80,150 menu_bar=33,66,132

# Upright, turned, upright again while the popup showed; the About dialog
# and the editor turned, then back.
for shot in rotation-before rotation-popup-closed rotation-saved about-before about-editor-back about-today-back; do
    check test "$(size "$shot")" = 240x320
done
for shot in rotation-after rotation-second-stroke about-turned about-editor-turned; do
    check test "$(size "$shot")" = 320x240
    check row_is "$shot" 0 0 319 "$bar"
    check row_is "$shot" 25 0 200 "$bar"
done
# The stroke drawn on the turned screen, from item (30, 140): under the
# stylus, below the 26 rows of the bar.
check test "$(pixel rotation-second-stroke 30 166)" = 0,255,0
# The About dialog and the editor fill the turned screen below the bar, a
# menu bar across its bottom 26 rows.
for shot in about-turned about-editor-turned; do
    check row_is "$shot" 214 0 319 "$menu_bar"
    check row_is "$shot" 239 0 319 "$menu_bar"
done
check test "$(pixel about-turned 2 213)" = "$(pixel about-turned 2 30)"
check test "$(pixel about-editor-turned 316 213)" = 255,255,255
# The texts are the built-in ones, the settings those of a drawing: nothing
# the turns did is stored.
check grep -qF "ptext1	REG_SZ	182	Welcome to 'Inkleaf'!" "$out/registry.txt"
check grep -qxF "contdisp	REG_SZ	4	1\\0" "$out/registry.txt"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
