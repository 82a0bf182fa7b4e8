#!/bin/bash
# Lays out the scratch drive's fixtures, then runs a test program under wine.
# Usage: run_with_fixtures.sh WINE_RUN PREFIX PROGRAM [ARGS...]
set -eu
wine_run=$1 prefix=$2
shift 2
fixtures=$prefix/drive_t/fixtures
rm -rf "$fixtures"
# A folder whose first file written fails as on a full disk.
mkdir -p "$fixtures/full"
ln -s /dev/full "$fixtures/full/inkleaf_board.bmp.new"
exec "$wine_run" "$@"
