#!/bin/bash
# Lists every name that the given objects (or archives) of one program
# import and that the device does not have. Calls between the given objects
# and into the compiler's own support library are allowed; every other name,
# the C runtime's included, is taken as the device spells it and must be in
# platform/device_functions.txt and, where they are present, in the device's
# export lists. Exit 1 when any name is left, 2 when an object cannot be read.
#
# INKLEAF_TRIPLET names the build's target (i686-w64-mingw32 or
# x86_64-w64-mingw32), whose nm reads the objects. INKLEAF_DEVICE_EXPORTS is
# the folder of the device's export lists (coredll.txt, aygshell.txt); by
# default the shared folder beside the source tree. INKLEAF_DEVICE_FUNCTIONS
# replaces platform/device_functions.txt.
set -euo pipefail
source_dir=${INKLEAF_SOURCE:?}
triplet=${INKLEAF_TRIPLET:?}
functions=${INKLEAF_DEVICE_FUNCTIONS:-$source_dir/platform/device_functions.txt}
exports=${INKLEAF_DEVICE_EXPORTS:-$source_dir/../shared/device-exports}
nm=$triplet-nm
[ $# -gt 0 ] || { echo "check_device_calls: no objects given" >&2; exit 2; }
for object in "$@"; do
    [ -r "$object" ] || { echo "check_device_calls: cannot read $object" >&2; exit 2; }
done
allowed=$(grep -v '^#' "$functions" | tr -s ' \t' '\n' | sed '/^$/d' | sort -u)

# Symbols as the target spells them: i686 decorates C names with a leading
# underscore and stdcall ones with @bytes; x86_64 leaves them plain. Either
# may import through an __imp_ slot.
case "$triplet" in
    i686-*) plain='s/^__imp_//; s/^_//; s/@[0-9]+$//' ;;
    x86_64-*) plain='s/^__imp_//' ;;
    *) echo "check_device_calls: unknown target $triplet" >&2; exit 2 ;;
esac

# The desktop names of what the device has under another name, or not as a
# function at all: ShellExecuteEx is the wide function itself there;
# LockResource is a macro; the clipboard adapters of platform/device.h are
# inline there, and only the size asks the device (LocalSize).
device_name() {
    case $1 in
        ShellExecuteExW) echo ShellExecuteEx ;;
        ClipboardMemorySize) echo LocalSize ;;
        LockResource | LockClipboardMemory | UnlockClipboardMemory) ;;
        *) echo "$1" ;;
    esac
}

# The compiler's support routines (division, stack probes) come with every
# target's compiler, the device's included, and are linked into the program.
gcc_dir=$(dirname "$("$triplet-g++-posix" -print-libgcc-file-name)")
support_libs=("$gcc_dir/libgcc.a" "$gcc_dir/libgcc_eh.a")
# nm's own complaints about archive members without symbols are harmless;
# any failure to read a file is not.
symbols() { "$nm" "$@" 2> >(grep -v 'no symbols' >&2); }
support=$(symbols --defined-only "${support_libs[@]}" | awk 'NF>=3{print $3}' | sort -u)
defined=$(symbols --defined-only "$@" | awk 'NF>=3{print $3}' | sort -u)
undefined=$(symbols --undefined-only "$@" | awk '$1=="U"{print $2}' | sort -u)
[ -n "$defined" ] || { echo "check_device_calls: no symbols read from $*" >&2; exit 2; }

imported=$(comm -23 <(echo "$undefined") <(echo "$defined") | comm -23 - <(echo "$support") |
           sed -E "$plain" | sort -u)
names=$(for name in $imported; do device_name "$name"; done | sed '/^$/d' | sort -u)

status=0
# outside HEADING NAMES LIST: the sorted NAMES missing from the sorted LIST,
# listed under HEADING; any fails the check.
outside() {
    local found
    found=$(comm -23 <(echo "$2") <(echo "$3"))
    [ -z "$found" ] && return
    echo "$1"
    echo "$found" | sed 's/^/  /'
    status=1
}
outside "calls outside platform/device_functions.txt:" "$names" "$allowed"
if [ -f "$exports/coredll.txt" ] && [ -f "$exports/aygshell.txt" ]; then
    device=$(cat "$exports/coredll.txt" "$exports/aygshell.txt" | tr -d '\r' | sort -u)
    outside "calls the device does not export:" "$names" "$device"
    outside "platform/device_functions.txt names what the device does not export:" "$allowed" "$device"
    against="platform/device_functions.txt and the device's exports"
else
    against="platform/device_functions.txt (no device export lists at $exports)"
fi
[ "$status" -eq 0 ] || exit 1
echo "$(echo "$names" | wc -w) names, all the device's: checked against $against ($# files, $triplet)"
