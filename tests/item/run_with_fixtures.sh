#!/bin/bash
# Runs a test program under wine with the scratch drive's fixtures in place:
# - T:\Programmi, the first program folder the item tries, is a 2 MiB file
#   system, so that a second board file no longer fits there (a full disk);
# - T:\readonly\inkleaf_item holds a board file on a read-only file system;
# - T:\corpus holds good and malformed board files, when the tool that
#   writes them is named in INKLEAF_BOARD_CORPUS.
# Usage: run_with_fixtures.sh WINE_RUN PREFIX PROGRAM [ARGS...]
set -u
wine_run=$1 prefix=$2
shift 2
small=$prefix/drive_t/Programmi
mkdir -p "$small"
mounted=0
if ! mountpoint -q "$small" && mount -t tmpfs -o size=2m inkleaf-small "$small" 2>/dev/null; then
    mounted=1
fi
readonly=$prefix/drive_t/readonly
mkdir -p "$readonly"
ro_mounted=0
if ! mountpoint -q "$readonly" && mount -t tmpfs -o size=4m inkleaf-readonly "$readonly" 2>/dev/null; then
    mkdir -p "$readonly/inkleaf_item"
    printf 'old board' >"$readonly/inkleaf_item/inkleaf_board.bmp"
    mount -o remount,ro "$readonly" && ro_mounted=1
fi
if [ -n "${INKLEAF_BOARD_CORPUS:-}" ]; then
    rm -rf "$prefix/drive_t/corpus"
    mkdir -p "$prefix/drive_t/corpus"
    "$INKLEAF_BOARD_CORPUS" "$prefix/drive_t/corpus"
fi
"$wine_run" "$@"
rc=$?
[ "$mounted" -eq 1 ] && umount "$small"
mountpoint -q "$readonly" && umount "$readonly"
exit "$rc"
