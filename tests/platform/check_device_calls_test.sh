#!/bin/bash
# The item's and the editor's own objects import only what the device has,
# the C runtime included; a planted desktop-only call is caught, so is a C
# runtime function the device lacks, a list naming what the device does not
# export, and an object that cannot be read.
#   check_device_calls_test.sh ITEM_ARCHIVE ITEM_OBJECT... -- EDITOR_ARCHIVE EDITOR_OBJECT...
set -u
here=$(cd "$(dirname "$0")" && pwd)
triplet=${INKLEAF_TRIPLET:?}
passed=0 failed=0
check() { if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $*"; fi; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# own NAME ARCHIVE OBJECT...: the archive's members and the program's own
# objects, into the array named NAME.
own() {
    local -n list=$1
    local dir=$work/$1
    mkdir -p "$dir"
    ( cd "$dir" && "$triplet-ar" x "$2" ) || { echo "cannot unpack $2"; exit 1; }
    list=()
    for o in "$dir"/*.obj "$dir"/*.o; do
        [ -e "$o" ] || continue
        list+=("$o")
    done
    shift 2
    list+=("$@")
}
item_args=() editor_args=()
while [ $# -gt 0 ] && [ "$1" != -- ]; do item_args+=("$1"); shift; done
shift
editor_args=("$@")
own item "${item_args[@]}"
own editor "${editor_args[@]}"
# Each program's entry point and resources are there.
check grep -q 'dll_main' <<<"${item[*]}"
check grep -q 'win_main' <<<"${editor[*]}"
check grep -q '\.rc\.' <<<"${item[*]}"
check grep -q '\.rc\.' <<<"${editor[*]}"

check "$here/check_device_calls.sh" "${item[@]}"
check "$here/check_device_calls.sh" "${editor[@]}"

# planted NAME CODE: an object whose function Planted does CODE.
planted() {
    printf '#include <windows.h>\n#include <wchar.h>\n%s\n' "$2" >"$work/$1.cpp"
    "$triplet-g++-posix" -c "$work/$1.cpp" -o "$work/$1.o"
}
planted desktop 'UINT Planted(wchar_t *out) { return GetWindowsDirectoryW(out, MAX_PATH); }'
out=$("$here/check_device_calls.sh" "${item[@]}" "$work/desktop.o")
check test $? -eq 1
check grep -q GetWindowsDirectoryW <<<"$out"

# wcsnlen is the desktop C runtime's, not the device's.
planted runtime 'size_t Planted(const wchar_t *s) { return wcsnlen(s, 10); }'
out=$("$here/check_device_calls.sh" "${editor[@]}" "$work/runtime.o")
check test $? -eq 1
check grep -q wcsnlen <<<"$out"

# The list of allowed names is itself held to the device's exports, where
# they are present.
exports=${INKLEAF_DEVICE_EXPORTS:-$INKLEAF_SOURCE/../shared/device-exports}
if [ -f "$exports/coredll.txt" ]; then
    { cat "$INKLEAF_SOURCE/platform/device_functions.txt"; echo GetWindowsDirectoryW; } >"$work/list.txt"
    out=$(INKLEAF_DEVICE_FUNCTIONS=$work/list.txt "$here/check_device_calls.sh" "${item[@]}" "$work/desktop.o")
    check test $? -eq 1
    check grep -q 'does not export' <<<"$out"
else
    echo "no device export lists at $exports: the lists' own check is not made"
fi

# A file that is missing, or not an object, fails the check.
"$here/check_device_calls.sh" "${item[@]}" "$work/missing.o" >/dev/null 2>&1
check test $? -eq 2
echo "not an object" >"$work/text.o"
"$here/check_device_calls.sh" "${item[@]}" "$work/text.o" >/dev/null 2>&1
check test $? -ne 0
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
