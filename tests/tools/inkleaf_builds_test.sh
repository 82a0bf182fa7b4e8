#!/bin/bash
# Which builds `./inkleaf test` runs: x64 always; x86 exactly when the i386
# wine loader starts here, and never with INKLEAF_NO_X86 set. The device's
# build is made only with CeGCC: without it `./inkleaf device` says where it
# looked and fails. The ARM demo and play need CeGCC and the x86 build
# (its stand-in runs the ARM files): without either they say why in one
# line and fail before building anything.
set -u
inkleaf=$1
passed=0 failed=0
check() { if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $*"; fi; }

check test "$(INKLEAF_NO_X86=1 "$inkleaf" builds)" = x64
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    echo "this machine runs 32-bit code"
    check test "$(env -u INKLEAF_NO_X86 "$inkleaf" builds)" = "x64 x86"
else
    echo "this machine runs no 32-bit code"
    check test "$(env -u INKLEAF_NO_X86 "$inkleaf" builds)" = x64
fi

empty=$(mktemp -d)
out=$(INKLEAF_CEGCC=$empty "$inkleaf" device 2>&1)
check test $? -eq 1
check test "$out" = "inkleaf: CeGCC (arm-mingw32ce-g++) not found in INKLEAF_CEGCC, arm-mingw32ce-g++ on the PATH, /opt/cegcc: no device build"

# A toolchain folder that find_cegcc accepts: nothing is compiled with it.
cegcc=$(mktemp -d)
mkdir "$cegcc/bin"
printf '#!/bin/sh\nexit 1\n' >"$cegcc/bin/arm-mingw32ce-g++"
chmod +x "$cegcc/bin/arm-mingw32ce-g++"
no_cegcc="CeGCC (arm-mingw32ce-g++) not found in INKLEAF_CEGCC, arm-mingw32ce-g++ on the PATH, /opt/cegcc"
no_x86="the ARM files run in the x86 build's stand-in, and INKLEAF_NO_X86 is set"
# command | INKLEAF_CEGCC | the line
arm_cases=(
    "demo --arm|$empty|inkleaf: no ARM demo: $no_cegcc"
    "demo --arm|$cegcc|inkleaf: no ARM demo: $no_x86"
    "play large --arm|$cegcc|inkleaf: no ARM play: $no_x86"
)
for case in "${arm_cases[@]}"; do
    IFS='|' read -r command toolchain line <<<"$case"
    # shellcheck disable=SC2086 # the command's words
    out=$(INKLEAF_NO_X86=1 INKLEAF_CEGCC=$toolchain DISPLAY=${DISPLAY:-:0} "$inkleaf" $command 2>&1)
    check test $? -eq 1
    check test "$out" = "$line"
done
rm -r "$empty" "$cegcc"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
