#!/bin/bash
# The Today stand-in (either build) with an ARM item that faults: the run ends with
# the room's exit status and a report naming the fault (an unaligned read,
# a COREDLL function nobody binds) and InitializeCustomItem in the chain of
# calls, read from the link map beside the item.
#
# Runs inside run-on-screen.sh (WINEPREFIX and DISPLAY set, the build's prefix):
#   faulty_items_in_room_test.sh BINDIR FAULTY_ITEMS_DIR OUTDIR
set -u
bin=$1 items=$2 out=$3
source "$(dirname "$0")/../../cmake/wine-env.sh"
failures=0
install_dir="$WINEPREFIX/drive_c/Program Files/inkleaf_item"
mkdir -p "$install_dir" "$out"
while IFS='|' read -r item named; do
    cp "$items/$item.dll" "$items/$item.map" "$install_dir/"
    wine "$bin/today_host.exe" install "C:\\Program Files\\inkleaf_item\\$item.dll" || exit 1
    report=$(cd "$out" && wine "$bin/today_host.exe" run --seconds 3 2>&1 </dev/null)
    status=$?
    echo "$item: status $status"
    echo "$report" | sed 's/^/  /'
    for wanted in "$named" 'InitializeCustomItem'; do
        grep -q "$wanted" <<<"$report" || { echo "FAIL: $item: \"$wanted\" not reported"; failures=$((failures + 1)); }
    done
    [ "$status" -eq 5 ] || { echo "FAIL: $item: status $status, not 5"; failures=$((failures + 1)); }
done <<'ITEMS'
unaligned_item|alignment
foreign_import_item|COREDLL.dll!GetTickCount
ITEMS
exit $((failures > 0))
