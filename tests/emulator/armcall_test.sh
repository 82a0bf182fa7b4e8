#!/bin/bash
# armcall on the flat binaries of the interpreter's test functions: the
# native result of a call, the same instruction count on every run, and
# status 2 with the fault named for an unaligned read, an undefined
# instruction and a deep recursion.
#   armcall_test.sh ARM_CODE_DIR ARMCALL [ARGUMENTS...]
# (ARMCALL with ARGUMENTS: wine-run armcall.exe). Exits 77 where the ARM
# code was not built.
set -uo pipefail
code=$1
shift
armcall=("$@")
if [ ! -f "$code/arm-O2.bin" ]; then
    echo "armcall not tried: no ARM test code in $code (arm-linux-gnueabi-gcc not installed?)"
    exit 77
fi
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
# The offset of FUNCTION in VARIANT's binary (odd for Thumb).
offset() { printf '0x%X' $((0x$(awk -v n="$2" '$2 == n {print $1}' "$code/$1.sym") - 0x10000)); }

for variant in arm-O2 thumb-O2 arm-O0; do
    # fibonacci(10, 3) = fib(10) + 7 * fib(3)
    first=$("${armcall[@]}" "$code/$variant.bin" 0x10000 "$(offset $variant fibonacci)" 10 3 | tr -d '\r')
    again=$("${armcall[@]}" "$code/$variant.bin" 0x10000 "$(offset $variant fibonacci)" 10 3 | tr -d '\r')
    [ "$(echo "$first" | sed -n 1p)" = 69 ] || fail "$variant fibonacci(10, 3) gave: $first"
    [ "$first" = "$again" ] || fail "$variant: two runs differ: $first / $again"
    echo "$variant fibonacci(10, 3): r0 $(echo "$first" | sed -n 1p), $(echo "$first" | sed -n 2p) instructions"
    while IFS='|' read -r function argument named; do
        errors=$("${armcall[@]}" "$code/$variant.bin" 0x10000 "$(offset $variant "$function")" "$argument" 2>&1 >/dev/null)
        status=$?
        [ $status -eq 2 ] || fail "$variant $function $argument: status $status, not 2"
        echo "$errors" | grep -q "$named" || fail "$variant $function $argument: \"$named\" not in: $errors"
        echo "$variant $function($argument): status $status: $(echo "$errors" | grep -m1 "$named" | tr -d '\r')"
    done <<'CASES'
read_word|0x10002|alignment
undefined_instruction|1|undefined instruction
recurse|100000|stack overflow
CASES
done
[ $failures -eq 0 ] && echo "armcall: all calls as expected"
exit $((failures > 0))
