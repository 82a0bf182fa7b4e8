#!/bin/bash
# Creates a headless wine prefix for the tests: null display driver, no
# crash dialog, no window manager decorations, 96 dpi, and the device's
# dialog font. WINEARCH (win32 or win64) gives the prefix's architecture.
# Usage: make-prefix.sh PREFIX   (safe to call from several processes at once)
set -u
prefix=$1
# What the ready marker holds; a prefix made by an older version of this
# script is made again. Raise it with every change below.
version="inkleaf prefix 2"
ready() { [ "$(cat "$prefix/.inkleaf-ready" 2>/dev/null)" = "$version" ]; }
ready && exit 0
mkdir -p "$(dirname "$prefix")"
exec 9>"$prefix.lock"
flock 9
ready && exit 0
export WINEPREFIX=$prefix
source "$(dirname "$0")/wine-env.sh"
rm -rf "$prefix"
wineboot -i </dev/null >/dev/null 2>&1
reg=$(mktemp --suffix=.reg)
cat >"$reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Drivers]
"Graphics"="null"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"

[HKEY_CURRENT_USER\Control Panel\Desktop]
"LogPixels"=dword:00000060

; The dialog templates' 8-point "MS Shell Dlg" with the device's narrow
; metrics: PT Sans Narrow gives dialog base units of 5 x 14 pixels at
; 96 dpi and 9 x 27 at 192 dpi, so that a 159-unit-wide dialog with its
; frame fits a 240- and a 480-pixel screen (Wine's own choice, DejaVu Sans
; here, gives 7 x 13 and 13 x 24).
[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]
"MS Shell Dlg"="PT Sans Narrow"
REG
wine regedit.exe /S "$(winepath -w "$reg" 2>/dev/null)" </dev/null >/dev/null 2>&1
rm -f "$reg"
wineserver -w
[ -d "$prefix/drive_c/windows" ] || { echo "make-prefix: wineboot failed for $prefix" >&2; exit 1; }
# Drive T: is the tests' scratch root: the board paths are root-relative.
mkdir -p "$prefix/drive_t"
ln -sfn ../drive_t "$prefix/dosdevices/t:"
echo "$version" >"$prefix/.inkleaf-ready"
