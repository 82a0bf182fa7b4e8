#!/usr/bin/env bash
# Reads the string tables and the icon groups of the built item and editor
# with pe_resources, and checks that a cut copy of the item is refused.
# Usage: pe_resources_test.sh PE_RESOURCES ITEM_DLL EDITOR_EXE WORKDIR
set -u

tool=${1:?usage: $0 PE_RESOURCES ITEM_DLL EDITOR_EXE WORKDIR}
item=${2:?}
editor=${3:?}
work=${4:?}
mkdir -p "$work"

failures=0
checks=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# file listing id fields expected: the line of that id, from the given
# fields on ("4-" is the text of a string, "2-" all after the id).
cases=(
    "item   strings 1   2- 13 yes inkleaf_item"
    "editor strings 1   4- inkpad_app"
    "editor strings 2   4- INKPAD_APP"
    "editor strings 103 4- OK"
    "editor strings 104 4- HELP"
    "editor icons   101 2- 16x16@4 32x32@4 64x64@4"
)
for case in "${cases[@]}"; do
    read -r file listing id fields expected <<<"$case"
    path=$item
    [ "$file" = editor ] && path=$editor
    checks=$((checks + 1))
    "$tool" "$path" "$listing" >"$work/listing" 2>"$work/stderr"
    rc=$?
    if [ "$rc" != 0 ]; then
        fail "$file $listing: exit $rc: $(cat "$work/stderr")"
        continue
    fi
    lines=$(grep -c "^$id " "$work/listing")
    got=$(grep "^$id " "$work/listing" | cut -d' ' -f"$fields")
    [ "$lines" = 1 ] && [ "$got" = "$expected" ] ||
        fail "$file $listing $id: expected one line with '$expected', got $lines: '$got'"
done

# A copy cut inside its headers, in the middle and by its last byte.
size=$(stat -c %s "$item")
for cut in 64 $((size / 2)) $((size - 1)); do
    head -c "$cut" "$item" >"$work/cut.dll"
    for listing in strings icons; do
        checks=$((checks + 1))
        "$tool" "$work/cut.dll" "$listing" >"$work/listing" 2>"$work/stderr"
        rc=$?
        [ "$rc" = 1 ] && [ ! -s "$work/listing" ] && grep -q "cut.dll: " "$work/stderr" ||
            fail "item cut at $cut bytes, $listing: expected a refusal (exit 1, a message, no listing), got exit $rc"
    done
done

if [ "$failures" -ne 0 ]; then
    echo "pe_resources_test: $failures of $checks checks failed" >&2
    exit 1
fi
echo "pe_resources_test: all $checks checks passed"
