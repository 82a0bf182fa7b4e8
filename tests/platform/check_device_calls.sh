#!/bin/bash
# Lists every platform function that the given objects (or archives) call
# and that is not in platform/device_functions.txt. Calls between the given
# objects and into the C and C++ runtime are allowed. Exit 1 when any is
# left, 2 when an object cannot be read. INKLEAF_TRIPLET names the build's
# target (i686-w64-mingw32 or x86_64-w64-mingw32), whose nm reads them.
set -euo pipefail
source_dir=${INKLEAF_SOURCE:?}
triplet=${INKLEAF_TRIPLET:?}
nm=$triplet-nm
[ $# -gt 0 ] || { echo "check_device_calls: no objects given" >&2; exit 2; }
for object in "$@"; do
    [ -r "$object" ] || { echo "check_device_calls: cannot read $object" >&2; exit 2; }
done
allowed=$(grep -v '^#' "$source_dir/platform/device_functions.txt" | tr -s ' \t' '\n' | sed '/^$/d' | sort -u)

# Symbols as the target spells them: i686 decorates C names with a leading
# underscore and stdcall ones with @bytes; x86_64 leaves them plain.
case "$triplet" in
    i686-*) plain='s/^__imp__//; s/^_//; s/@[0-9]+$//' ;;
    x86_64-*) plain='s/^__imp_//' ;;
    *) echo "check_device_calls: unknown target $triplet" >&2; exit 2 ;;
esac

gcc_dir=$(dirname "$("$triplet-g++-posix" -print-libgcc-file-name)")
runtime_libs=("$gcc_dir/libstdc++.a" "$gcc_dir/libgcc.a" "$gcc_dir/libgcc_eh.a"
              "/usr/$triplet/lib/libmsvcrt.a" "/usr/$triplet/lib/libmingwex.a"
              "/usr/$triplet/lib/libmingw32.a")
# nm's own complaints about archive members without symbols are harmless;
# any failure to read a file is not.
symbols() { "$nm" "$@" 2> >(grep -v 'no symbols' >&2); }
runtime=$(symbols --defined-only "${runtime_libs[@]}" | awk 'NF>=3{print $3}' | sort -u)
defined=$(symbols --defined-only "$@" | awk 'NF>=3{print $3}' | sort -u)
undefined=$(symbols --undefined-only "$@" | awk '$1=="U"{print $2}' | sort -u)
[ -n "$defined" ] || { echo "check_device_calls: no symbols read from $*" >&2; exit 2; }

bad=$(comm -23 <(echo "$undefined") <(echo "$defined") | comm -23 - <(echo "$runtime") |
      sed -E "$plain" | sort -u | comm -23 - <(echo "$allowed"))
if [ -n "$bad" ]; then
    echo "calls the device does not have:"
    echo "$bad" | sed 's/^/  /'
    exit 1
fi
echo "only device functions and the runtime are called ($# files, $triplet)"
