#!/bin/bash
# Compiles the interpreter's test functions with Debian's ARM cross compiler
# into flat binaries at 0x10000, in four variants (ARM and Thumb, -O0 and
# -O2), each beside its symbol list:
#   build_arm_code.sh SOURCE_DIR OUT_DIR
# Exits 77, saying so, where arm-linux-gnueabi-gcc is not installed.
set -euo pipefail
src=$1 out=$2
cc=arm-linux-gnueabi-gcc
if ! command -v $cc >/dev/null; then
    echo "ARM test code not built: $cc is not installed (Debian's gcc-arm-linux-gnueabi)"
    exit 77
fi
mkdir -p "$out"
flags=(-march=armv5te -ffreestanding -nostdlib -fno-pic -no-pie -static -fno-stack-protector
       -fno-asynchronous-unwind-tables -fno-unwind-tables -Wl,--build-id=none -Wall -Werror)
for variant in arm-O0 arm-O2 thumb-O0 thumb-O2; do
    state=${variant%-*} level=-${variant#*-} other=-mthumb
    [ "$state" = thumb ] && other=-marm
    $cc "${flags[@]}" -m$state $level -c "$src/arm_functions.c" -o "$out/$variant-functions.o"
    $cc "${flags[@]}" $other $level -c "$src/arm_peer.c" -o "$out/$variant-peer.o"
    $cc "${flags[@]}" -Wl,-T,"$src/flat.ld" -o "$out/$variant.elf" \
        "$out/$variant-functions.o" "$out/$variant-peer.o" -lgcc
    arm-linux-gnueabi-objcopy -O binary -j .flat "$out/$variant.elf" "$out/$variant.bin"
    # Symbol values as the ELF holds them: bit 0 set for a Thumb function.
    arm-linux-gnueabi-readelf -sW "$out/$variant.elf" | awk '$4 == "FUNC" {print $2, $8}' >"$out/$variant.sym"
done
# The reference processor's harness (qemu_harness.c), a Linux ARM program.
$cc "${flags[@]}" -marm -O2 -Wl,-e,_start -o "$out/qemu_harness.elf" "$src/qemu_harness.c"
