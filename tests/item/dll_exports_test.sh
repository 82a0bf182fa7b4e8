#!/bin/bash
# The item DLL is a library of the build's architecture (PE32 i386 or PE32+
# x86-64) whose only export is ordinal 240, without a name. INKLEAF_TRIPLET
# names the build's target, whose objdump reads it.
set -u
dll=$1
triplet=${INKLEAF_TRIPLET:?}
case "$triplet" in
    i686-*) format=pei-i386 ;;
    x86_64-*) format=pei-x86-64 ;;
    *) echo "unknown target $triplet"; exit 1 ;;
esac
passed=0 failed=0
check() { if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $*"; fi; }
dump=$("$triplet-objdump" -p "$dll") || { echo "objdump cannot read $dll"; exit 1; }
echo "expecting $format"
check grep -q "file format $format" <<<"$dump"
check grep -q 'DLL' <<<"$(file "$dll")"
table=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$dump" | sed 1d | sed '/^$/d')
check test -z "$table"
ordinals=$(sed -n '/^Export Address Table/,/^$/p' <<<"$dump" | grep -E '^\s*\[' )
check test "$(wc -l <<<"$ordinals")" -eq 1
check grep -qE '^\s*\[\s*0\]' <<<"$ordinals"
check grep -qE 'Ordinal Base\s+240' <<<"$dump"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
