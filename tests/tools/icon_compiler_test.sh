#!/usr/bin/env bash
# Checks the .ico bytes that icon_compiler writes for small hand-made maps,
# one or several to a file, and that malformed maps are refused.
# Usage: icon_compiler_test.sh PATH/TO/icon_compiler
set -u

tool=${1:?usage: $0 PATH/TO/icon_compiler}
if [ ! -x "$tool" ]; then
    echo "icon_compiler_test: $tool is not an executable" >&2
    exit 2
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failures=0
checks=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# hex FILE OFFSET COUNT -> lower-case hex string without spaces
hex() {
    od -An -v -tx1 -j "$2" -N "$3" "$1" | tr -d ' \n'
}

# expect FILE OFFSET HEX WHAT
expect() {
    local got
    checks=$((checks + 1))
    got=$(hex "$1" "$2" $((${#3} / 2)))
    [ "$got" = "$3" ] || fail "$4: at offset $2 expected $3, got $got"
}

# compile_ok IN OUT, or compile_ok WHAT OUT IN...
compile_ok() {
    local what=$1 out=$2
    shift 2
    [ $# -gt 0 ] || set -- "$what"
    checks=$((checks + 1))
    if ! "$tool" "$@" "$out" 2>"$work/stderr"; then
        fail "compiling $what failed: $(cat "$work/stderr")"
        return 1
    fi
}

# ---------------------------------------------------------------- 16 x 16
# Top row:    transparent, red, six transparent, eight green.
# Bottom row: white, black, dark grey, light grey, then transparent.
# Everything else transparent.
map16="$work/small.txt"
{
    echo "# test map"
    echo
    echo ".R......GGGGGGGG"
    for _ in $(seq 14); do echo "................"; done
    echo "Wkdl............"
} >"$map16"
ico16="$work/small.ico"

if compile_ok "$map16" "$ico16"; then
    # Layout: 6-byte directory, 16-byte entry, 40-byte header, 64-byte colour
    # table, 16 XOR rows of 8 bytes from 126, 16 AND rows of 4 bytes from 254.
    checks=$((checks + 1))
    size=$(wc -c <"$ico16")
    [ "$size" -eq 318 ] || fail "16x16 file size: expected 318, got $size"

    # icon directory: reserved 0, type 1, one image
    expect "$ico16" 0 000001000100 "ICONDIR"
    # entry: 16 x 16, 16 colours, reserved, 1 plane, 4 bpp, 296 bytes at offset 22
    expect "$ico16" 6 10101000010004002801000016000000 "ICONDIRENTRY"
    # BITMAPINFOHEADER: size 40, width 16, height 32 (XOR + AND), 1 plane, 4 bpp, BI_RGB
    expect "$ico16" 22 28000000100000002000000001000400 "BITMAPINFOHEADER size/width/height/planes/bpp"
    expect "$ico16" 38 00000000 "biCompression"

    # colour table entries are blue, green, red, 0
    expect "$ico16" 62 00000000 "palette 0 (k black)"
    expect "$ico16" $((62 + 4 * 7)) c0c0c000 "palette 7 (l light grey)"
    expect "$ico16" $((62 + 4 * 8)) 80808000 "palette 8 (d dark grey)"
    expect "$ico16" $((62 + 4 * 9)) 0000ff00 "palette 9 (R red)"
    expect "$ico16" $((62 + 4 * 4)) 80000000 "palette 4 (b navy)"
    expect "$ico16" $((62 + 4 * 15)) ffffff00 "palette 15 (W white)"

    # XOR rows are stored bottom-up, high nibble = left pixel.
    # First stored row = bottom map row "Wkdl....": W=15 k=0 d=8 l=7, rest 0.
    expect "$ico16" 126 f087000000000000 "XOR bottom row (first stored)"
    # An all-transparent row must be all index 0.
    expect "$ico16" 134 0000000000000000 "XOR transparent row"
    # Last stored row = top map row: '.'=0 R=9, transparent zeros, G=10.
    expect "$ico16" $((126 + 15 * 8)) 09000000aaaaaaaa "XOR top row (last stored)"

    # AND mask rows bottom-up, MSB = left pixel, 1 = transparent, padded to 4.
    expect "$ico16" 254 0fff0000 "AND bottom row: 4 opaque then transparent"
    expect "$ico16" 258 ffff0000 "AND transparent row"
    expect "$ico16" $((254 + 15 * 4)) bf000000 "AND top row: transparent, opaque, 6 transparent, 8 opaque"

    # The same map with CRLF line ends gives the same bytes.
    sed 's/$/\r/' "$map16" >"$work/crlf.txt"
    if compile_ok "$work/crlf.txt" "$work/crlf.ico"; then
        checks=$((checks + 1))
        cmp -s "$ico16" "$work/crlf.ico" || fail "CRLF map compiles differently from LF map"
    fi
fi

# ---------------------------------------------------------------- 32 x 32
# Top-left pixel blue, pixel (31, 31) bottom-right yellow, all else transparent.
map32="$work/large.txt"
{
    echo "B..............................."
    for _ in $(seq 30); do echo "................................"; done
    echo "...............................Y"
} >"$map32"
ico32="$work/large.ico"
if compile_ok "$map32" "$ico32"; then
    # XOR rows of 16 bytes from 126, AND rows of 4 bytes from 126 + 512 = 638.
    checks=$((checks + 1))
    size=$(wc -c <"$ico32")
    [ "$size" -eq 766 ] || fail "32x32 file size: expected 766, got $size"
    expect "$ico32" 6 2020100001000400e802000016000000 "32x32 ICONDIRENTRY"
    expect "$ico32" 22 28000000200000004000000001000400 "32x32 BITMAPINFOHEADER"
    expect "$ico32" 126 0000000000000000000000000000000b "32x32 XOR bottom row: Y=11 at the right end"
    expect "$ico32" $((126 + 31 * 16)) c0000000000000000000000000000000 "32x32 XOR top row: B=12 at the left end"
    expect "$ico32" 638 fffffffe "32x32 AND bottom row"
    expect "$ico32" $((638 + 31 * 4)) 7fffffff "32x32 AND top row"
fi

# ---------------------------------------------------------------- 64 x 64
# Top-left pixel magenta, bottom-right cyan, all else transparent.
map64="$work/huge.txt"
{
    printf 'M%63s\n' "" | tr ' ' '.'
    for _ in $(seq 62); do printf '%64s\n' "" | tr ' ' '.'; done
    printf '%63sC\n' "" | tr ' ' '.'
} >"$map64"

# ---------------------------------------------------------------- several maps
# One directory entry per map, in the order of the maps.
# maps -> width bytes of the entries
orders=(
    "small large huge|102040"
    "huge small|4010"
    "large|20"
)
for case in "${orders[@]}"; do
    names=${case%|*}
    widths=${case#*|}
    inputs=()
    for name in $names; do inputs+=("$work/$name.txt"); done
    if compile_ok "${inputs[*]}" "$work/order.ico" "${inputs[@]}"; then
        count=$(( ${#widths} / 2 ))
        expect "$work/order.ico" 4 "$(printf '%02x00' "$count")" "$names: image count"
        got=""
        for ((i = 0; i < count; i++)); do got+=$(hex "$work/order.ico" $((6 + 16 * i)) 1); done
        checks=$((checks + 1))
        [ "$got" = "$widths" ] || fail "$names: entry widths expected $widths, got $got"
    fi
done

multi="$work/multi.ico"
if compile_ok "16, 32 and 64" "$multi" "$map16" "$map32" "$map64"; then
    # Directory of 6 + 3 x 16 bytes; images of 296 (16), 744 (32) and
    # 2664 (64) bytes from offsets 54, 350 and 1094.
    checks=$((checks + 1))
    size=$(wc -c <"$multi")
    [ "$size" -eq 3758 ] || fail "3-image file size: expected 3758, got $size"
    expect "$multi" 0 000001000300 "3-image ICONDIR"
    expect "$multi" 6 10101000010004002801000036000000 "entry 1: 16 x 16, 296 bytes at 54"
    expect "$multi" 22 2020100001000400e80200005e010000 "entry 2: 32 x 32, 744 bytes at 350"
    expect "$multi" 38 4040100001000400680a000046040000 "entry 3: 64 x 64, 2664 bytes at 1094"
    # The 16 and 32 images are those of the one-map files.
    checks=$((checks + 2))
    [ "$(hex "$multi" 54 296)" = "$(hex "$ico16" 22 296)" ] || fail "16 x 16 image differs from the one-map file's"
    [ "$(hex "$multi" 350 744)" = "$(hex "$ico32" 22 744)" ] || fail "32 x 32 image differs from the one-map file's"
    # The 64 x 64 image: XOR rows of 32 bytes from 1198, AND rows of 8 from 3246.
    expect "$multi" 1094 28000000400000008000000001000400 "64x64 BITMAPINFOHEADER"
    expect "$multi" $((1134 + 4 * 14)) ffff0000 "64x64 colour 14 (C cyan)"
    expect "$multi" 1198 "$(printf '%063de' 0)" "64x64 XOR bottom row: C=14 at the right end"
    expect "$multi" $((1198 + 63 * 32)) "d$(printf '%063d' 0)" "64x64 XOR top row: M=13 at the left end"
    expect "$multi" 3246 fffffffffffffffe "64x64 AND bottom row"
    expect "$multi" $((3246 + 63 * 8)) 7fffffffffffffff "64x64 AND top row"
fi

# Maps that cannot make one icon: exit 1, FILE:LINE: on stderr, no output.
# name | maps | file and line named
refusals=(
    "same size twice|small large small_again|small_again.txt:3:"
    "bad map among good ones|small bad_row huge|bad_row.txt:2:"
)
cp "$map16" "$work/small_again.txt"
{ echo "$(printf '%32s' "" | tr ' ' '.')"; echo "$(printf '%31s' "" | tr ' ' '.')"; } >"$work/bad_row.txt"
for case in "${refusals[@]}"; do
    IFS='|' read -r what names where <<<"$case"
    inputs=()
    for name in $names; do inputs+=("$work/$name.txt"); done
    checks=$((checks + 1))
    "$tool" "${inputs[@]}" "$work/refused.ico" 2>"$work/refused.err"
    rc=$?
    [ "$rc" -eq 1 ] || fail "$what: expected exit 1, got $rc"
    grep -q "$work/$where" "$work/refused.err" || fail "$what: stderr does not name $where: '$(cat "$work/refused.err")'"
    [ ! -e "$work/refused.ico" ] || fail "$what: output file written despite the error"
done

# ---------------------------------------------------------------- bad maps
# Each must exit 1, name the file and the offending line on stderr, and leave
# no output file.
bad() {
    local name=$1 line=$2
    local in="$work/$name.txt" out="$work/$name.ico" rc
    checks=$((checks + 1))
    "$tool" "$in" "$out" 2>"$work/$name.err"
    rc=$?
    [ "$rc" -eq 1 ] || fail "$name: expected exit 1, got $rc"
    grep -q "$in:$line:" "$work/$name.err" || fail "$name: stderr does not name $in:$line: '$(cat "$work/$name.err")'"
    [ ! -e "$out" ] || fail "$name: output file written despite the error"
}

row16="................"
{ echo "# bad character on line 4"; echo "$row16"; echo "$row16"; echo ".......Z........"
  for _ in $(seq 13); do echo "$row16"; done; } >"$work/bad_char.txt"
bad bad_char 4

{ echo "$row16"; echo "$row16"; echo "..............."
  for _ in $(seq 13); do echo "$row16"; done; } >"$work/short_row.txt"
bad short_row 3

{ echo "$row16"; echo "................."
  for _ in $(seq 14); do echo "$row16"; done; } >"$work/long_row.txt"
bad long_row 2

{ for _ in $(seq 15); do echo "$row16"; done; } >"$work/too_few_rows.txt"
bad too_few_rows 15

{ for _ in $(seq 17); do echo "$row16"; done; } >"$work/too_many_rows.txt"
bad too_many_rows 17

{ echo "# 8 x 8 is not an icon size here"; for _ in $(seq 8); do echo "........"; done; } >"$work/wrong_size.txt"
bad wrong_size 2

: >"$work/empty.txt"
checks=$((checks + 1))
"$tool" "$work/empty.txt" "$work/empty.ico" 2>/dev/null
rc=$?
[ "$rc" -eq 1 ] || fail "empty map: expected exit 1, got $rc"

checks=$((checks + 1))
"$tool" "$work/no_such_file.txt" "$work/nothing.ico" 2>/dev/null
rc=$?
[ "$rc" -eq 1 ] || fail "missing input: expected exit 1, got $rc"

if [ "$failures" -ne 0 ]; then
    echo "icon_compiler_test: $failures of $checks checks failed" >&2
    exit 1
fi
echo "icon_compiler_test: all $checks checks passed"
