#!/bin/bash
# Runs a test program under wine with the scratch drive's fixtures in place:
# T:\Programmi, the first program folder the item tries, is a 2 MiB file
# system, so that a second board file no longer fits there (a full disk).
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
"$wine_run" "$@"
rc=$?
[ "$mounted" -eq 1 ] && umount "$small"
exit "$rc"
