#!/bin/bash
# Lists every platform function that the given objects (or archives) call
# and that is not in platform/device_functions.txt. Calls between the given
# objects and into the C and C++ runtime are allowed. Exit 1 when any is left.
set -eu
source_dir=${INKLEAF_SOURCE:?}
nm=i686-w64-mingw32-nm
allowed=$(grep -v '^#' "$source_dir/platform/device_functions.txt" | tr -s ' \t' '\n' | sed '/^$/d' | sort -u)

gcc_dir=$(dirname "$(i686-w64-mingw32-g++-posix -print-libgcc-file-name)")
runtime_libs="$gcc_dir/libstdc++.a $gcc_dir/libgcc.a $gcc_dir/libgcc_eh.a
    /usr/i686-w64-mingw32/lib/libmsvcrt.a /usr/i686-w64-mingw32/lib/libmingwex.a
    /usr/i686-w64-mingw32/lib/libmingw32.a"
# shellcheck disable=SC2086
runtime=$($nm --defined-only $runtime_libs 2>/dev/null | awk 'NF>=3{print $3}' | sort -u)
defined=$($nm --defined-only "$@" 2>/dev/null | awk 'NF>=3{print $3}' | sort -u)
undefined=$($nm --undefined-only "$@" 2>/dev/null | awk '$1=="U"{print $2}' | sort -u)

bad=$(comm -23 <(echo "$undefined") <(echo "$defined") | comm -23 - <(echo "$runtime") |
      sed -E 's/^__imp__//; s/^_//; s/@[0-9]+$//' | sort -u | comm -23 - <(echo "$allowed"))
if [ -n "$bad" ]; then
    echo "calls the device does not have:"
    echo "$bad" | sed 's/^/  /'
    exit 1
fi
echo "only device functions and the runtime are called"
