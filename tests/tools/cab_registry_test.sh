#!/bin/bash
# The item key the cabinet carries is the one the Today stand-in's install
# writes: the stand-in installs the item, in a scratch copy of the build's
# prefix, at the path the device's installer makes of the cabinet's DLL
# value (%CE1% is "\Program Files" on an English device), and Wine's reg
# reads back the key the cabinet names. Both lists of values, with their
# types and data, must be the same.
# Usage: cab_registry_test.sh SOURCE BUILD PACK_CAB CAB_SETUP_FILE CAB_SETUP_READER WORKDIR
# WINEARCH (win32 or win64) is the build's.
: "${WINEARCH:?cab_registry_test: WINEARCH must be the build architecture of wine, win32 or win64}"
set -u
source_dir=$1 build=$2 pack=$3 tool=$4 reader=$5 work=$6
rm -rf "$work"
mkdir -p "$work/extracted"
CAB_SETUP_FILE=$tool "$pack" "$build/bin/inkleaf_item.dll" "$build/bin/inkpad_app.exe" \
    "$work/Inkleaf.cab" || exit 1
cabextract -q -d "$work/extracted" -F '*.000' "$work/Inkleaf.cab" || exit 1
# KEY<TAB>NAME<TAB>TYPE<TAB>DATA, the installer's substitution made.
cabinet=$("$reader" "$work"/extracted/*.000 | awk -F'\t' '/^reg / {
    sub(/^reg /, "", $1)
    if ($4 == "subst") gsub(/%CE1%/, "\\Program Files", $5)
    print $1 "\t" $2 "\t" $3 "\t" $5 }' | sort)
[ -n "$cabinet" ] || { echo "FAILED: no registry values in the cabinet"; exit 1; }
key=$(head -1 <<<"$cabinet" | cut -f1)
dll=$(awk -F'\t' '$2 == "DLL" {print $4}' <<<"$cabinet")

source "$source_dir/cmake/wine-env.sh"
"$source_dir/cmake/make-prefix.sh" "$build/wine/base" || exit 99
export WINEPREFIX=$work/prefix
cp -a "$build/wine/base" "$WINEPREFIX"
trap 'wineserver -k 2>/dev/null; rm -rf "$WINEPREFIX"' EXIT
wineserver -p
wine cmd /c exit </dev/null >/dev/null 2>&1
# The copy is of the registry files as the base prefix's running wineserver
# last saved them, which may be in the middle of another test's use of the
# item key: the key starts empty here, as on a device before installing.
wine reg.exe delete "${key/#HKLM/HKEY_LOCAL_MACHINE}" /f >/dev/null 2>&1
wine "$build/bin/today_host.exe" install "$dll" || { echo "FAILED: today_host install"; exit 1; }
# reg's lines: four spaces, name, four spaces, type, four spaces, data.
installed=$(wine reg.exe query "${key/#HKLM/HKEY_LOCAL_MACHINE}" | tr -d '\r' |
    awk -F'    ' 'NF == 4 && $1 == "" {print $2 "\t" $3 "\t" $4}' |
    while IFS=$'\t' read -r name type data; do
        [ "$type" = REG_DWORD ] && data=$((data))
        printf '%s\t%s\t%s\t%s\n' "$key" "$name" "$type" "$data"
    done | sort)

echo "in the cabinet:"; echo "$cabinet"
echo "written by the stand-in's install:"; echo "$installed"
if [ "$cabinet" != "$installed" ]; then
    echo "FAILED: the cabinet's item key is not the one the stand-in installs"
    diff <(echo "$cabinet") <(echo "$installed")
    exit 1
fi
echo "1 passed, 0 failed"
