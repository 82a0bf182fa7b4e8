#!/bin/bash
# Fault reports of ARM items that fault: armcall runs each item's ordinal
# 240 (InitializeCustomItem) with arguments 0 0 and must stop with status 2,
# a first line that names the fault at a PC, that PC as frame #0, and the
# frames of the chain of calls named from the item's link map.
#   faulty_items_test.sh ARMCALL ITEMS_DIR ITEM_DLL EDITOR_EXE
# OBJDUMP is the toolchain's: the foreign import must be one that neither
# Inkleaf program imports, so that nothing bound for them answers it.
set -uo pipefail
armcall=$1 dir=$2 item=$3 editor=$4
foreign=GetTickCount
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
"${OBJDUMP:?}" -p "$item" "$editor" | grep -qw "$foreign" && fail "$foreign is imported by the item or the editor"

# item | the report's first line (an extended regular expression) | frame #0 | frame #1 (none when empty)
while IFS='|' read -r name stop frame0 frame1; do
    errors=$("$armcall" "$dir/$name.dll" '#240' 0 0 2>&1 >/dev/null)
    status=$?
    report=$(grep -v '^armcall: .* mapped at 0x' <<<"$errors")
    echo "$name.dll #240: status $status"
    echo "$report" | sed 's/^/  /'
    [ "$status" -eq 2 ] || fail "$name: status $status, not 2"
    pc=$(sed -nE '1s/.* at pc (0x[0-9A-F]{8}) .*/\1/p' <<<"$report")
    grep -qE "^armcall: $stop" <<<"$report" || fail "$name: the first line is not \"$stop\""
    grep -qxE "  #0 ${pc:-none} $frame0" <<<"$report" || fail "$name: frame #0 is not $frame0 at the PC ${pc:-(none)}"
    if [ -n "$frame1" ]; then
        grep -qxE "  #1 0x[0-9A-F]{8} $frame1" <<<"$report" || fail "$name: frame #1 is not $frame1"
    else
        grep -q '^  #1 ' <<<"$report" && fail "$name: a frame #1 where the host called the item"
    fi
done <<ITEMS
unaligned_item|alignment fault \(unaligned access\) at pc .*: word read$|InitializeCustomItem\+0x[0-9a-f]+ \(unaligned_item\.dll\)|
foreign_import_item|unbound import at pc .*: COREDLL\.dll!$foreign, called with lr|COREDLL\.dll!$foreign|InitializeCustomItem\+0x[0-9a-f]+ \(foreign_import_item\.dll\)
ITEMS
[ $failures -eq 0 ] && echo "faulty items: every report as expected"
exit $((failures > 0))
