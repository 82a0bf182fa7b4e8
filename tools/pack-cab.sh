#!/bin/bash
# Packs the device's installation cabinet: the Today item and the page
# editor with the installer's instruction file (tools/cab_setup_file.cpp),
# in one uncompressed Microsoft Cabinet that the device's installer takes.
#   tools/pack-cab.sh ITEM_DLL EDITOR_EXE OUT.cab
# CAB_SETUP_FILE names a built cab_setup_file; without it the tool is built
# into build/tools/ when it is missing or older than its source.
set -euo pipefail
if [ $# -ne 3 ]; then
    echo "usage: $0 ITEM_DLL EDITOR_EXE OUT.cab" >&2
    exit 2
fi
root=$(cd "$(dirname "$0")/.." && pwd)
dll=$(realpath "$1") exe=$(realpath "$2")
out=$(realpath -m "$3")
tool=${CAB_SETUP_FILE:-}
if [ -z "$tool" ]; then
    tool=$root/build/tools/cab_setup_file
    if [ ! -x "$tool" ] || [ "$root/tools/cab_setup_file.cpp" -nt "$tool" ]; then
        mkdir -p "$(dirname "$tool")"
        g++ -std=c++17 -O2 -o "$tool" "$root/tools/cab_setup_file.cpp"
    fi
fi
command -v gcab >/dev/null || { echo "pack-cab: gcab is not installed" >&2; exit 1; }

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
# The tool prints the cabinet's names in the order the installer wants.
names=$("$tool" "$stage" "$dll" "$exe")
mapfile -t members <<<"$names"
mkdir -p "$(dirname "$out")"
rm -f "$out"
# No --zip: the members are stored uncompressed.
(cd "$stage" && gcab --create --nopath "$out" "${members[@]}")
