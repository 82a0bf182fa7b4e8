#!/bin/bash
# compare_runs on small result folders made here: a copy of one folder
# changed in one way per case, the lines and exit code it gives, and its
# refusal of bad usage.
#   compare_runs_test.sh COMPARE_RUNS WORKDIR
set -u
tool=$1 work=$2
passed=0 failed=0
check() { if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $*"; fi; }

# The run every case starts from: a screenshot, a registry dump, and in a
# subfolder another screenshot and a board file.
rm -rf "$work"
run=$work/run
mkdir -p "$run/sessions"
convert -size 4x3 xc:white "$run/today.png"
convert -size 5x2 xc:'rgb(224,224,224)' "$run/sessions/drawing.png"
printf 'ptext1\tREG_SZ\t8\tabc\n' >"$run/registry.txt"
printf 'BM\0\0\0\0' >"$run/sessions/inkleaf_board.bmp"

white="(255, 255, 255, 255)" red="(255, 0, 0, 255)"
# name | what is done to the copies A/ and B/ | exit code | the lines
# before the last, each ended by ";"
cases=(
    "equal||0|"
    "same pixels, other bytes|convert B/today.png -quality 0 -set comment other B/today.png|0|"
    "a pixel differs|convert B/today.png -fill red -draw 'point 2 1' B/today.png|1|today.png: pixel (2, 1): A $white, B $red;"
    "a byte differs|sed -i s/ptext1/ptext2/ B/registry.txt|1|registry.txt: byte 5: A 0x31, B 0x32;"
    "B ends early|truncate -s 3 B/sessions/inkleaf_board.bmp|1|sessions/inkleaf_board.bmp: byte 3: A 0x00, B end of file;"
    "image size differs|convert B/sessions/drawing.png -crop 5x1+0+0 B/sessions/drawing.png|1|sessions/drawing.png: size 5x2 in A, 5x1 in B;"
    "not an image|echo no >B/today.png|1|today.png: not a readable PNG in B;"
    "a file missing in B|rm B/registry.txt|1|registry.txt: only in A;"
    "a file missing in A|rm A/sessions/drawing.png|1|sessions/drawing.png: only in B;"
    "a folder missing in B|rm -r B/sessions|1|sessions: only in A;sessions/drawing.png: only in A;sessions/inkleaf_board.bmp: only in A;"
    "a folder in A, a file in B|rm -r B/sessions; touch B/sessions|1|sessions: a folder in A, a file in B;sessions/drawing.png: only in A;sessions/inkleaf_board.bmp: only in A;"
    "every difference listed|rm A/registry.txt; convert B/today.png -fill red -draw 'point 0 2' B/today.png; printf x >>B/sessions/inkleaf_board.bmp|1|registry.txt: only in B;sessions/inkleaf_board.bmp: byte 6: A end of file, B 0x78;today.png: pixel (0, 2): A $white, B $red;"
)
for case in "${cases[@]}"; do
    IFS='|' read -r name change code lines <<<"$case"
    dir=$work/$(tr ' ,' '__' <<<"$name")
    mkdir -p "$dir"
    cp -r "$run" "$dir/A"
    cp -r "$run" "$dir/B"
    (cd "$dir" && eval "$change")
    got=$(cd "$dir" && "$tool" A B)
    rc=$?
    check test "$rc" = "$code"
    # Every line but the last (the verdict), each followed by ";".
    check test "$(sed '$d' <<<"$got" | tr '\n' ';')" = "$lines" || echo "  in '$name': $got"
    if [ "$code" = 0 ]; then verdict="equal, 4 files"; else verdict="$(grep -o ';' <<<"$lines" | wc -l)"; fi
    check grep -q "^compare_runs: A A, B B: $verdict" <<<"$(tail -1 <<<"$got")"
done

# Bad usage: not two folders.
for args in "" "$run" "$run $run/today.png" "$run $work/none"; do
    # shellcheck disable=SC2086 # the words of each line are the arguments
    "$tool" $args >/dev/null 2>&1
    check test $? -eq 2
done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
