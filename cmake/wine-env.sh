# Wine for one architecture of prefix, sourced by every script that runs
# wine. WINEARCH picks it: win32 (the x86 build) or win64 (the x64 build).
# The loader is called by its own path: Debian's "wine" wrapper takes the
# i386 loader whenever its file exists, even on a machine that cannot
# execute 32-bit code. `wine`, `wineboot`, `winepath`
# below stand for the commands of that wine.
case "${WINEARCH:-win32}" in
    win32) WINE=/usr/lib/wine/wine ;;
    win64) WINE=/usr/lib/wine/wine64; export WINELOADER=$WINE ;;
    *) echo "wine-env: unknown WINEARCH $WINEARCH" >&2; exit 2 ;;
esac
export WINEARCH=${WINEARCH:-win32}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
wine() { "$WINE" "$@"; }
wineboot() { "$WINE" wineboot.exe "$@"; }
winepath() { "$WINE" winepath.exe "$@"; }
