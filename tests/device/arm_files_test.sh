#!/bin/bash
# The device's two files as a Pocket PC takes them: ARM images for Windows
# CE; the item exports ordinal 240 alone, without a name; they import from
# COREDLL.dll (and the editor from AYGSHELL.dll) only names the device
# exports, AYGSHELL's two message helpers by ordinal; nothing of the
# platform stand-ins and nothing of the desktop.
# The item's entry is its own DllMain, by its C name: the device's headers
# declare none, and a C++ name would leave the runtime's default in its
# place. The item's name, read in place as its window class, ends in a
# NUL of its own. The editor reserves the 64 KB of stack a device program
# has, and its icon has an image of each size the device's LoadIcon asks
# for.
#   arm_files_test.sh ITEM_DLL EDITOR_EXE ITEM_LINK_MAP ITEM_OBJECT...
# OBJDUMP and NM are the toolchain's, PE_RESOURCES the reader of resources; INKLEAF_DEVICE_EXPORTS the folder of
# the device's export lists (by default the shared folder beside the tree).
set -u
item=$1 editor=$2 map=$3
shift 3
IFS=';' read -ra objects <<<"$*"     # CMake hands the object list over as one argument
objdump=${OBJDUMP:?} nm=${NM:?} resources=${PE_RESOURCES:?}
exports=${INKLEAF_DEVICE_EXPORTS:-$INKLEAF_SOURCE/../shared/device-exports}
passed=0 failed=0
# A failed check is named by its first line, without the text it searched.
check() {
    if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $*" | head -1; fi
}
has() { grep -qE "$1" <<<"$2"; }

# imports DUMP: "DLL name" lines of what an image imports, a name or
# "#ordinal" for each, from objdump -p's import tables.
imports() {
    awk '/^\tDLL Name: / { dll = $3; next }
         /^\tvma:/ || dll == "" { next }
         /^$/ { dll = ""; next }
         dll != "" && NF >= 3 { print dll, ($3 == "<none>" ? "#" $2 : $3) }' <<<"$1"
}

# The desktop's names for what the device calls otherwise, and the platform
# layer's own functions: none may be imported.
stand_ins='^(ShellExecuteExW|wcsnlen|LockClipboardMemory|UnlockClipboardMemory|ClipboardMemorySize|LockResource)$'
if [ -f "$exports/coredll.txt" ] && [ -f "$exports/aygshell.txt" ]; then
    coredll=$(tr -d '\r' <"$exports/coredll.txt")
    aygshell=$(tr -d '\r' <"$exports/aygshell.txt")
else
    echo "no device export lists at $exports: imported names not compared with them"
    coredll="" aygshell=""
fi

# check_image FILE KIND DLLS: format, subsystem, imports.
check_image() {
    local file=$1 kind=$2 dlls=$3 dump list
    echo "== $(basename "$file")"
    DUMP="" IMPORTS=""
    dump=$("$objdump" -p "$file") || { echo "objdump cannot read $file"; failed=$((failed + 1)); return; }
    check has 'file format pei-arm-wince-little' "$dump"
    check has '^architecture: arm' "$("$objdump" -f "$file")"
    check has "$kind" "$(file "$file")"
    check has '^Subsystem\s+0+9\b' "$dump"
    check has '^MajorSubsystemVersion\s+5$' "$dump"
    check has '^MinorSubsystemVersion\s+1$' "$dump"
    list=$(imports "$dump")
    echo "$(wc -l <<<"$list") imports from $(cut -d' ' -f1 <<<"$list" | sort -u | tr '\n' ' ')"
    check test -n "$list"
    check test "$(cut -d' ' -f1 <<<"$list" | sort -u | tr '\n' ' ')" = "$dlls"
    local dll name bad=""
    while read -r dll name; do
        if grep -qE "$stand_ins" <<<"$name"; then
            bad+=" $dll:$name(stand-in)"
            continue
        fi
        case "$dll:$name" in
            AYGSHELL.dll:#83 | AYGSHELL.dll:#84) continue ;;   # SHHandleWMSettingChange, SHHandleWMActivate
            AYGSHELL.dll:\#* | COREDLL.dll:\#*) bad+=" $dll:$name" ;;
            COREDLL.dll:*) [ -z "$coredll" ] || grep -qxF "$name" <<<"$coredll" || bad+=" $dll:$name" ;;
            AYGSHELL.dll:*) [ -z "$aygshell" ] || grep -qxF "$name" <<<"$aygshell" || bad+=" $dll:$name" ;;
            *) bad+=" $dll:$name" ;;
        esac
    done <<<"$list"
    [ -z "$bad" ] || echo "imports the device does not have:$bad"
    check test -z "$bad"
    DUMP=$dump IMPORTS=$list
}

check_image "$item" 'DLL' 'COREDLL.dll '
# One export, ordinal 240, no name.
table=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$DUMP" | sed 1d | sed '/^$/d')
check test -z "$table"
ordinals=$(sed -n '/^Export Address Table/,/^$/p' <<<"$DUMP" | grep -E '^\s*\[')
check test "$(wc -l <<<"$ordinals")" -eq 1
check has 'Ordinal Base\s+240' "$DUMP"

# DllMain: defined by the item's objects under its C name, and the one the
# link map places (no default DllMain from the toolchain's runtime).
check test -n "$("$nm" --defined-only "${objects[@]}" 2>/dev/null | awk '$3 == "DllMain"')"
check test "$(awk '/^ \.text / && NF >= 4 { file = $NF } NF == 2 && $2 == "DllMain" { print file }' "$map" |
              grep -c 'dll_main\.cpp\.obj')" -eq 1
check test "$(grep -c 'dllmain\.o' "$map")" -eq 0

# Strings read in place (LoadStringW with a NULL buffer): the item's 1.
check test "$("$resources" "$item" strings | grep '^1 ')" = "1 13 yes inkleaf_item"

check_image "$editor" 'executable' 'AYGSHELL.dll COREDLL.dll '
check test "$("$resources" "$editor" icons | grep '^101 ')" = "101 16x16@4 32x32@4 64x64@4"
check has '^SizeOfStackReserve\s+0*10000$' "$DUMP"
# AYGSHELL's message helpers are imported by ordinal, as the device exports them.
check has '^AYGSHELL.dll #83$' "$IMPORTS"
check has '^AYGSHELL.dll #84$' "$IMPORTS"
check has '^AYGSHELL.dll SHCreateMenuBar$' "$IMPORTS"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
