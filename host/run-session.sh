#!/bin/bash
# Installs the item (and the editor, when built) into the current wine
# prefix as a Today item, plays stylus sessions in the Today stand-in one
# after the other (each a new start of the Today screen, on what the ones
# before left), and leaves in OUTDIR what the item left: the item key's
# values and the board file, beside the sessions' screenshots.
# INKLEAF_INSTALL_DIR names the folder on drive C: to install into (by
# default C:\Program Files\inkleaf_item, where an English device puts it).
# INKLEAF_ITEM_FILES names a folder whose inkleaf_item.dll and inkpad_app.exe
# are installed instead of BINDIR's (the device's ARM pair, say); the Today
# stand-in is BINDIR's either way. INKLEAF_RUN_OPTIONS are added to each
# start's "run" options (host/main.cpp). With INKLEAF_KEEP_DEVICE=1 the
# sessions go on from what the prefix holds (the key's values and the board
# file) instead of a first start. INKLEAF_RUN_LIMIT, in seconds, ends a
# start that runs longer (its status 124, as timeout's).
#   run-session.sh BINDIR OUTDIR SESSION...
set -u
bin=$1 out=$2
source "$(dirname "$0")/../cmake/wine-env.sh"
shift 2
install_win=${INKLEAF_INSTALL_DIR:-'C:\Program Files\inkleaf_item'}
install_rel=${install_win#[Cc]:\\}
install_dir="$WINEPREFIX/drive_c/${install_rel//\\//}"
mkdir -p "$install_dir" "$out"
if [ -n "${INKLEAF_ITEM_FILES:-}" ]; then
    cp "$INKLEAF_ITEM_FILES/inkleaf_item.dll" "$INKLEAF_ITEM_FILES/inkpad_app.exe" "$install_dir/" || exit 1
    # Link maps beside them name their functions in an ARM fault's report.
    cp "$INKLEAF_ITEM_FILES"/*.map "$install_dir/" 2>/dev/null || true
else
    cp "$bin/inkleaf_item.dll" "$install_dir/"
    [ -f "$bin/inkpad_app.exe" ] && cp "$bin/inkpad_app.exe" "$install_dir/"
fi
host=$bin/today_host.exe
# A first start: nothing left of the item by anything before.
if [ "${INKLEAF_KEEP_DEVICE:-}" != 1 ]; then
    wine "$host" remove-key || exit 1
    rm -f "$install_dir/inkleaf_board.bmp"
fi
wine "$host" install "$install_win\\inkleaf_item.dll" || exit 1
rc=0
for session in "$@"; do
    (cd "$out" && ${INKLEAF_RUN_LIMIT:+timeout -k 5 "$INKLEAF_RUN_LIMIT"} \
        wine "$host" run ${INKLEAF_RUN_OPTIONS:-} --script "$session" </dev/null) || rc=$?
done
(cd "$out" && wine "$host" dump-key registry.txt)
cp "$install_dir/inkleaf_board.bmp" "$out/" 2>/dev/null
exit "$rc"
