#!/bin/bash
# The item DLL is a PE32 i386 library whose only export is ordinal 240.
set -u
dll=$1
passed=0 failed=0
check() { if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $*"; fi; }
dump=$(i686-w64-mingw32-objdump -p "$dll")
check grep -q 'file format pei-i386' <<<"$dump"
check grep -qE 'Characteristics.*' <<<"$dump"
check grep -q 'DLL' <<<"$(file "$dll")"
table=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$dump" | sed 1d | sed '/^$/d')
check test -z "$table"
ordinals=$(sed -n '/^Export Address Table/,/^$/p' <<<"$dump" | grep -E '^\s*\[' )
check test "$(wc -l <<<"$ordinals")" -eq 1
check grep -qE '^\s*\[\s*0\]' <<<"$ordinals"
check grep -qE 'Ordinal Base\s+240' <<<"$dump"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
