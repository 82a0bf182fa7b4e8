#!/bin/bash
# The device's item in the ARM interpreter: armcall maps it at its image
# base and, with --base, elsewhere with its base relocations applied; the
# call of ordinal 240 stops (status 2) at the first import, a COREDLL one,
# the same one with the same instruction count both times; the report's
# chain of calls names InitializeCustomItem from the link map, moved with
# the image.
#   arm_item_call_test.sh ARMCALL ITEM_DLL ITEM_LINK_MAP
set -uo pipefail
armcall=$1 item=$2 map=$3
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
reports=()
for base in "" 0x20000000; do
    args=(--map "$map" "$item" '#240' 0 0)
    [ -n "$base" ] && args=(--base "$base" "${args[@]}")
    errors=$("$armcall" "${args[@]}" 2>&1 >/dev/null)
    status=$?
    echo "armcall ${args[*]}: status $status"
    echo "$errors" | sed 's/^/  /'
    [ $status -eq 2 ] || fail "status $status, not 2"
    echo "$errors" | grep -q "unbound import at .*: COREDLL.dll!" || fail "no unbound COREDLL import reported"
    mapped=$(echo "$errors" | grep -o 'mapped at 0x[0-9A-F]*' | awk '{print $3}')
    relocations=$(echo "$errors" | sed -nE 's/.*, ([0-9]+) relocations applied.*/\1/p')
    echo "$errors" | grep -qE "^  #[0-9]+ ${mapped:0:3}[0-9A-F]{7} InitializeCustomItem\+0x[0-9a-f]+ \(inkleaf_item\.dll\)$" ||
        fail "no frame in InitializeCustomItem where the image is mapped"
    if [ -n "$base" ]; then
        [ "$mapped" = 0x20000000 ] || fail "mapped at $mapped, not $base"
        [ "${relocations:-0}" -gt 0 ] || fail "no relocations applied at $base"
    else
        [ "${relocations:-1}" -eq 0 ] || fail "relocated although its base was free"
    fi
    reports+=("$(echo "$errors" | grep -oE 'COREDLL.dll![A-Za-z_0-9]+'; echo "$errors" | grep -oE '[0-9]+ instructions executed')")
done
[ "${reports[0]}" = "${reports[1]}" ] || fail "the two calls differ: ${reports[0]} / ${reports[1]}"
exit $((failures > 0))
