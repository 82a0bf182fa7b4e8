#!/bin/bash
# Runs a command on a device-sized X screen with a wine prefix of its own.
#   run-on-screen.sh BASE_PREFIX [--window] [--keep PREFIX] PROFILE COMMAND [ARGS...]
# PROFILE is one of the screens Windows Mobile 5 devices have: "small"
# (240 x 320 at 96 dpi), "small-landscape" (320 x 240), "small-square"
# (240 x 240), "large" (480 x 640 at 192 dpi), "large-landscape" (640 x 480)
# or "large-square" (480 x 480). The screen is a headless Xvfb, or with
# --window a window of that size on the caller's display (Xephyr). Either
# can turn to the other orientation (the width and the height swapped)
# through wine's display settings: Xephyr offers both sizes itself; Xvfb is
# made as large as the longer side and given both sizes by
# INKLEAF_SCREEN_SIZES (tools/screen_sizes.c), which holds them until the
# screen stops; a square screen turns to the size it has. The profile's prefix is a copy of the
# headless base prefix, made fresh for each run, in the folder
# INKLEAF_SCREEN_PREFIXES names (by default the base's), so that runs in
# two folders go on at once; with --keep it is PREFIX, made only when
# missing and kept afterwards. A wineserver is started for
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
    small) width=240 height=320 dpi=96 ;;
    small-landscape) width=320 height=240 dpi=96 ;;
    small-square) width=240 height=240 dpi=96 ;;
    large) width=480 height=640 dpi=192 ;;
    large-landscape) width=640 height=480 dpi=192 ;;
    large-square) width=480 height=480 dpi=192 ;;
    *) echo "run-on-screen: unknown profile $profile" >&2; exit 2 ;;
esac
screen=${width}x$height
turned=${height}x$width
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"
"$here/make-prefix.sh" "$base" || exit 99

prefix=${kept:-${INKLEAF_SCREEN_PREFIXES:-$(dirname "$base")}/$profile}
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
elif [ -x "${INKLEAF_SCREEN_SIZES:-}" ] && [ "$turned" != "$screen" ]; then
    side=$((width > height ? width : height))
    Xvfb -displayfd 5 -screen 0 "${side}x${side}x24" -nolisten tcp 5>"$fifo" >/dev/null 2>&1 &
else
    Xvfb -displayfd 5 -screen 0 "${screen}x24" -nolisten tcp 5>"$fifo" >/dev/null 2>&1 &
fi
server=$!
number=
read -r number <"$fifo"
rm -f "$fifo"
[ -n "$number" ] || { echo "run-on-screen: the X screen did not start" >&2; exit 99; }
export DISPLAY=":$number"
sizes=
cleanup() {
    wineserver -k 2>/dev/null
    [ -n "$sizes" ] && kill "$sizes" 2>/dev/null
    kill "$server" 2>/dev/null
    wait "$server" 2>/dev/null
}
trap cleanup EXIT
# The headless screen at the profile's size, able to turn (a square one
# turns to its own size, its one mode).
if [ "$window" -eq 0 ] && [ -x "${INKLEAF_SCREEN_SIZES:-}" ] && [ "$turned" != "$screen" ]; then
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    "$INKLEAF_SCREEN_SIZES" "$screen" "$turned" >"$fifo" 8>&- &
    sizes=$!
    ready=
    read -r ready <"$fifo"
    rm -f "$fifo"
    [ "$ready" = ready ] || { echo "run-on-screen: the X screen did not take $screen" >&2; exit 99; }
fi
# Real pointer input: wine without XInput2 (see tools/no_xinput.c).
if [ "$window" -eq 1 ] && [ -n "${INKLEAF_NO_XINPUT_DIR:-}" ]; then
    export LD_LIBRARY_PATH=$INKLEAF_NO_XINPUT_DIR${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}
fi
# The profile's lock stays with this script: wine's services, started by
# what follows, must not inherit it.
wineserver -p 8>&-
wine cmd /c exit </dev/null >/dev/null 2>&1 8>&-
"$@" 8>&-
