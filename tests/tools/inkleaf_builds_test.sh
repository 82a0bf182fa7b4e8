#!/bin/bash
# Which builds `./inkleaf test` runs: x64 always; x86 exactly when the i386
# wine loader starts here, and never with INKLEAF_NO_X86 set. The device's
# build is made only with CeGCC: without it `./inkleaf device` says where it
# looked and fails. The ARM demo and play need CeGCC (either build's
# stand-in runs the ARM files): without it they say why in one line and
# fail before building anything. Every package counts as installed here
# (INKLEAF_DPKG), so that nothing is installed or refreshed.
set -u
inkleaf=$1
export INKLEAF_DPKG=true
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

no_cegcc="CeGCC (arm-mingw32ce-g++) not found in INKLEAF_CEGCC, arm-mingw32ce-g++ on the PATH, /opt/cegcc"
for command in "demo --arm" "play large --arm"; do
    # shellcheck disable=SC2086 # the command's words
    out=$(INKLEAF_CEGCC=$empty DISPLAY=${DISPLAY:-:0} "$inkleaf" $command 2>&1)
    check test $? -eq 1
    check test "$out" = "inkleaf: no ARM ${command%% *}: $no_cegcc"
done
rm -r "$empty"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
