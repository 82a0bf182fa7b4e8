#!/bin/bash
# Which builds `./inkleaf test` runs: x64 always; x86 exactly when the i386
# wine loader starts here, and never with INKLEAF_NO_X86 set. The device's
# build is made only with CeGCC: without it `./inkleaf device` says where it
# looked and fails.
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
rmdir "$empty"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
