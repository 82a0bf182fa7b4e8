#!/bin/bash
# Malformed board files met by the item at its creation in the Today
# stand-in: the Today screen keeps running, the item comes up, and the file
# in its folder afterwards is a whole 640 x 640 Board, with the file as
# found kept beside it (or the file as found, when it was a loadable Board).
# Last, an item file the stand-in cannot run.
#
# Runs inside run-on-screen.sh (WINEPREFIX and DISPLAY set):
#   malformed_boards_test.sh BINDIR BOARD_CORPUS_TOOL OUTDIR
set -u
bin=$1 tool=$2 out=$3
source "$(dirname "$0")/../../cmake/wine-env.sh"
passed=0 failed=0
check() { if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $*"; fi; }

rm -rf "$out"
mkdir -p "$out/corpus"
"$tool" "$out/corpus"
install_dir="$WINEPREFIX/drive_c/Program Files/inkleaf_item"
mkdir -p "$install_dir"
cp "$bin/inkleaf_item.dll" "$install_dir/"
host=$bin/today_host.exe
wine "$host" install 'C:\Program Files\inkleaf_item\inkleaf_item.dll' || exit 1

for name in cut_at_30 cut_at_54 field_height_huge field_offset_huge field_bits_7 field_rle8 \
            bits_8_640 bits_32_640 width_641 short_by_one_640 top_down_640 good_8x4; do
    board="$install_dir/inkleaf_board.bmp"
    cp "$out/corpus/$name.bmp" "$board"
    (cd "$out" && wine "$host" run --seconds 1.5 </dev/null)
    check test $? -eq 0
    size=$(stat -c %s "$board")
    kept="$install_dir/inkleaf_board.unloadable.bmp"
    case "$name" in
        good_8x4) check cmp -s "$board" "$out/corpus/$name.bmp" ;;
        top_down_640) check test "$size" -eq 1228854 ;;   # turned bottom-up, same size
        *) check test "$size" -eq 1228854
           check test "$(identify -format '%w %h %[bit-depth]' "$board" 2>/dev/null)" = "640 640 8"
           check cmp -s "$kept" "$out/corpus/$name.bmp" ;;   # kept byte for byte
    esac
    rm -f "$kept"
    echo "$name: $size bytes afterwards"
done

# An item file for the device's ARM processor that is its PE header alone,
# with machine 0x1C0: either stand-in gives it to the ARM room, whose loader
# refuses the file whole, saying why.
{ printf 'MZ'; head -c 58 /dev/zero; printf '\x40\0\0\0PE\0\0\xc0\x01'; head -c 18 /dev/zero; } \
    >"$install_dir/arm_item.dll"
wine "$host" install 'C:\Program Files\inkleaf_item\arm_item.dll' || exit 1
refusal=$(cd "$out" && wine "$host" run --seconds 1.5 2>&1 </dev/null; echo "exit $?")
echo "$refusal"
check grep -qz 'arm_item.dll: .*exit 2' <<<"$refusal"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
