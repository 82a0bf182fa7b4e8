#!/bin/bash
# Runs a command on a device-sized X screen with a wine prefix of its own.
#   run-on-screen.sh BASE_PREFIX [--window] [--keep PREFIX] PROFILE COMMAND [ARGS...]
# PROFILE is "small" (240 x 320 at 96 dpi) or "large" (480 x 640 at 192 dpi).
# The screen is a headless Xvfb, or with --window a window of that size on
# the caller's display (Xephyr). The profile's prefix is a copy of the
# headless base prefix, made fresh for each run; with --keep it is PREFIX,
# made only when missing and kept afterwards. A wineserver is started for
# the command, and it and the screen are stopped afterwards. WINEPREFIX,
# INKLEAF_PREFIX and DISPLAY are set for the command; WINEARCH (win32 or
# win64) gives the prefix's architecture.
set -u
base=$1
shift
window=0 kept=
while [ $# -gt 0 ]; do
    case "$1" in
        --window) window=1; shift ;;
        --keep) kept=$2; shift 2 ;;
        *) break ;;
    esac
done
profile=$1
shift
case "$profile" in
    small) screen=240x320 dpi=96 ;;
    large) screen=480x640 dpi=192 ;;
    *) echo "run-on-screen: unknown profile $profile" >&2; exit 2 ;;
esac
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"
"$here/make-prefix.sh" "$base" || exit 99

prefix=${kept:-$(dirname "$base")/$profile}
mkdir -p "$(dirname "$prefix")"
exec 8>"$prefix.lock"
flock 8
WINEPREFIX=$prefix wineserver -k 2>/dev/null
if [ -z "$kept" ] || [ ! -f "$prefix/.inkleaf-ready" ]; then
    rm -rf "$prefix"
    cp -a "$base" "$prefix"
    rm -rf "$prefix/drive_t"/*
    # Show on X, at the profile's resolution.
    sed -i '/^\[Software\\\\Wine\\\\Drivers\]/,/^$/{/"Graphics"=/d}' "$prefix/user.reg"
    sed -i "s/^\"LogPixels\"=dword:.*/\"LogPixels\"=dword:$(printf '%08x' "$dpi")/" "$prefix/user.reg"
fi
# The build's wine-run uses INKLEAF_PREFIX: the command's wine runs there too.
export WINEPREFIX=$prefix INKLEAF_PREFIX=$prefix

fifo=$(mktemp -u)
mkfifo "$fifo"
if [ "$window" -eq 1 ]; then
    Xephyr -displayfd 5 -screen "${screen}x24" -title "Inkleaf ($profile screen)" -nolisten tcp \
        -no-host-grab 5>"$fifo" >/dev/null 2>&1 &
else
    Xvfb -displayfd 5 -screen 0 "${screen}x24" -nolisten tcp 5>"$fifo" >/dev/null 2>&1 &
fi
server=$!
number=
read -r number <"$fifo"
rm -f "$fifo"
[ -n "$number" ] || { echo "run-on-screen: the X screen did not start" >&2; exit 99; }
export DISPLAY=":$number"
# Real pointer input: wine without XInput2 (see tools/no_xinput.c).
if [ "$window" -eq 1 ] && [ -n "${INKLEAF_NO_XINPUT_DIR:-}" ]; then
    export LD_LIBRARY_PATH=$INKLEAF_NO_XINPUT_DIR${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}
fi
cleanup() {
    wineserver -k 2>/dev/null
    kill "$server" 2>/dev/null
    wait "$server" 2>/dev/null
}
trap cleanup EXIT
# The profile's lock stays with this script: wine's services, started by
# what follows, must not inherit it.
wineserver -p 8>&-
wine cmd /c exit </dev/null >/dev/null 2>&1 8>&-
"$@" 8>&-
