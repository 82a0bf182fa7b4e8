#!/bin/bash
# Packs an installation cabinet with tools/pack-cab.sh and reads it back
# with readers of its own: cabextract for the cabinet, cab_setup_reader for
# the installer's instruction file. Any two files serve as the item and the
# editor: what is checked does not depend on what they hold.
# Usage: cab_package_test.sh PACK_CAB CAB_SETUP_FILE CAB_SETUP_READER ITEM_DLL EDITOR_EXE WORKDIR
set -u
pack=$1 tool=$2 reader=$3 dll=$4 exe=$5 work=$6
passed=0 failed=0
check() { if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $*"; fi; }
same() {  # same WHAT EXPECTED ACTUAL
    [ "$2" = "$3" ] && return 0
    printf '%s differs:\n--- expected\n%s\n--- found\n%s\n' "$1" "$2" "$3"
    return 1
}
rm -rf "$work"
mkdir -p "$work/extracted"
cab=$work/Inkleaf.cab

CAB_SETUP_FILE=$tool "$pack" "$dll" "$exe" "$cab" || { echo "FAILED: pack-cab.sh"; exit 1; }
quietly() { "$@" >/dev/null; }
check quietly cabextract -q -t "$cab"
check cabextract -q -d "$work/extracted" "$cab"

# The members in cabinet order: the .000 file first, then the others by
# descending number, each number once.
members=$(cabextract -l "$cab" | awk -F' [|] ' 'NF == 3 && $3 ~ /\.[0-9][0-9][0-9]$/ {print $3}')
numbers=$(sed 's/.*\.//' <<<"$members")
check same "member order" "$(head -1 <<<"$numbers"; tail -n +2 <<<"$numbers" | sort -r)" "$numbers"
check same "member numbers" "$(sort -u <<<"$numbers")" "$(sort <<<"$numbers")"
check test "$(head -1 <<<"$numbers")" = 000

# Stored, not compressed: the cabinet header (36 bytes when it reserves
# nothing) and each folder's compression type (the last two of its 8 bytes).
u16() { od -An -tu2 -j "$2" -N 2 "$1" | tr -d ' '; }
check test "$(u16 "$cab" 30)" = 0
folders=$(u16 "$cab" 26)
for ((i = 0; i < folders; i++)); do
    check same "compression of folder $i" 0 "$(u16 "$cab" $((36 + 8 * i + 6)))"
done

setup=$work/extracted/$(head -1 <<<"$members")
facts=$("$reader" "$setup") || { echo "FAILED: the instruction file was refused"; exit 1; }
echo "$facts"

check same "application and provider" "app Inkleaf
provider Inkleaf" "$(grep -E '^(app|provider|unsupported) ' <<<"$facts")"
check same "install folders" 'dir %CE1%\inkleaf_item' "$(grep '^dir ' <<<"$facts")"
files=$(grep '^file ' <<<"$facts")
check same "installed files" '%CE1%\inkleaf_item\inkleaf_item.dll
%CE1%\inkleaf_item\inkpad_app.exe' "$(awk '{print $3}' <<<"$files" | sort)"
# Copied on a fresh device (not "only over an existing file") and over an
# older copy (not "never overwrite").
while read -r _ id path flags; do
    check test $((flags & 0x410)) = 0
done <<<"$files"
# The item key, exactly: the values the Today screen reads, none of the
# item's own settings. The DLL's path is expanded by the installer.
key='HKLM\Software\Microsoft\Today\Items\inkleaf_item'
check same "registry values" "$(sort <<EOF
reg $key	DLL	REG_SZ	subst	%CE1%\\inkleaf_item\\inkleaf_item.dll
reg $key	Type	REG_DWORD	plain	4
reg $key	Enabled	REG_DWORD	plain	1
reg $key	Options	REG_DWORD	plain	0
reg $key	Order	REG_DWORD	plain	0
EOF
)" "$(grep '^reg ' <<<"$facts" | sort)"
check same "links" "" "$(grep '^link ' <<<"$facts")"

# Windows Mobile 5.0 on ARM: an ARM processor type of the installer's list
# (or none), CE 5.01 within the OS range (0 for no bound), and a build range
# open to 16-bit build numbers.
read -r _ processor <<<"$(grep '^processor ' <<<"$facts")"
check grep -qxE '0|1824|2080|2336|2577|70001' <<<"$processor"
read -r _ low high <<<"$(grep '^os ' <<<"$facts")"
version() { local major=${1%.*} minor=${1#*.}; echo $((major * 1000 + minor)); }
check test "${low%.*}" -eq 0 -o "$(version "$low")" -le 5001
check test "${high%.*}" -eq 0 -o "$(version "$high")" -ge 5001
read -r _ build_low build_high <<<"$(grep '^builds ' <<<"$facts")"
check test "$build_low" -eq 0 -a \( "$build_high" -eq 0 -o "$build_high" -ge 65535 \)

# Each installed file is its member (the number is its id) byte for byte,
# and no member is left over.
source_of() { case $1 in *\\inkleaf_item.dll) echo "$dll" ;; *\\inkpad_app.exe) echo "$exe" ;; esac; }
while read -r _ id path _; do
    member=$(grep -E "\.$(printf %03d "$id")$" <<<"$members")
    check test -n "$member"
    check cmp "$work/extracted/$member" "$(source_of "$path")"
done <<<"$files"
check test "$(wc -l <<<"$members")" -eq $((1 + $(wc -l <<<"$files")))

# The reader refuses a file whose header disagrees with it: a length field
# one byte too long, a section offset two bytes off.
poke32() { printf "$(printf '\\x%02x' $(($3 & 255)) $(($3 >> 8 & 255)) $(($3 >> 16 & 255)) $(($3 >> 24)))" |
           dd of="$1" bs=1 seek="$2" conv=notrunc status=none; }
u32() { od -An -tu4 -j "$2" -N 4 "$1" | tr -d ' '; }
for change in 8:1 76:2; do
    field=${change%:*}
    cp "$setup" "$work/bad.000"
    poke32 "$work/bad.000" "$field" $(($(u32 "$setup" "$field") + ${change#*:}))
    if "$reader" "$work/bad.000" >/dev/null 2>"$work/refusal"; then
        check false "a wrong header field at $field was read"
    else
        echo "refused as it should be: $(cat "$work/refusal")"
        passed=$((passed + 1))
    fi
done

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
