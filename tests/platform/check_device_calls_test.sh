#!/bin/bash
# The item's own objects call only device functions; a planted desktop-only
# call is caught.
set -u
here=$(cd "$(dirname "$0")" && pwd)
passed=0 failed=0
check() { if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $*"; fi; }

item_objects=("$@")
# The platform stand-ins are not the item's own code.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
( cd "$work" && i686-w64-mingw32-ar x "$1" )
own=()
for o in "$work"/*.obj "$work"/*.o; do
    [ -e "$o" ] || continue
    own+=("$o")
done
shift
own+=("$@")

check "$here/check_device_calls.sh" "${own[@]}"

cat > "$work/planted.cpp" <<'SRC'
#include <windows.h>
UINT Planted(wchar_t *out) { return GetWindowsDirectoryW(out, MAX_PATH); }
SRC
i686-w64-mingw32-g++-posix -c "$work/planted.cpp" -o "$work/planted.o"
out=$("$here/check_device_calls.sh" "${own[@]}" "$work/planted.o")
rc=$?
check test "$rc" -ne 0
check grep -q GetWindowsDirectoryW <<<"$out"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
