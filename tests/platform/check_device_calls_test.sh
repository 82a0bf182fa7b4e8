#!/bin/bash
# The item's own objects call only device functions; a planted desktop-only
# call is caught, and so is an object that cannot be read.
#   check_device_calls_test.sh ITEM_CORE_ARCHIVE DLL_OBJECT...
set -u
here=$(cd "$(dirname "$0")" && pwd)
triplet=${INKLEAF_TRIPLET:?}
passed=0 failed=0
check() { if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $*"; fi; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The archive's members, each checked as the item's own object.
( cd "$work" && "$triplet-ar" x "$1" ) || { echo "cannot unpack $1"; exit 1; }
own=()
for o in "$work"/*.obj "$work"/*.o; do
    [ -e "$o" ] || continue
    own+=("$o")
done
shift
own+=("$@")
# The DLL's own objects are there: its entry point and its resources.
check grep -q 'dll_main' <<<"${own[*]}"
check grep -q '\.rc\.' <<<"${own[*]}"

check "$here/check_device_calls.sh" "${own[@]}"

cat > "$work/planted.cpp" <<'SRC'
#include <windows.h>
UINT Planted(wchar_t *out) { return GetWindowsDirectoryW(out, MAX_PATH); }
SRC
"$triplet-g++-posix" -c "$work/planted.cpp" -o "$work/planted.o"
out=$("$here/check_device_calls.sh" "${own[@]}" "$work/planted.o")
check test $? -eq 1
check grep -q GetWindowsDirectoryW <<<"$out"

# A file that is missing, or not an object, fails the check.
"$here/check_device_calls.sh" "${own[@]}" "$work/missing.o" >/dev/null 2>&1
check test $? -eq 2
echo "not an object" >"$work/text.o"
"$here/check_device_calls.sh" "${own[@]}" "$work/text.o" >/dev/null 2>&1
check test $? -ne 0
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
