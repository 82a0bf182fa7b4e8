#!/bin/bash
# Creates a headless wine prefix for the tests: null display driver, no
# crash dialog, no window manager decorations, 96 dpi. WINEARCH (win32 or
# win64) gives the prefix's architecture.
# Usage: make-prefix.sh PREFIX   (safe to call from several processes at once)
set -u
prefix=$1
mkdir -p "$(dirname "$prefix")"
exec 9>"$prefix.lock"
flock 9
[ -f "$prefix/.inkleaf-ready" ] && exit 0
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
REG
wine regedit.exe /S "$(winepath -w "$reg" 2>/dev/null)" </dev/null >/dev/null 2>&1
rm -f "$reg"
wineserver -w
[ -d "$prefix/drive_c/windows" ] || { echo "make-prefix: wineboot failed for $prefix" >&2; exit 1; }
# Drive T: is the tests' scratch root: the board paths are root-relative.
mkdir -p "$prefix/drive_t"
ln -sfn ../drive_t "$prefix/dosdevices/t:"
touch "$prefix/.inkleaf-ready"
