#!/bin/bash
# ensure_packages with fake apt-get and dpkg that record their calls and
# fail on demand: nothing to do makes no call; a failed refresh of the lists
# and a failed install of the 32-bit wine are each told in one line and the
# install goes on; a failed install of an essential package stops with the
# packages and apt's reason; a remembered 32-bit failure spares the refresh
# for a day.
set -u
source=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fake=$work/bin
mkdir "$fake"

# The fakes' state, in $work: installed (one package a line), arches (dpkg's
# foreign architectures), fail (what fails: update, add-architecture or a
# package whose install fails) and calls (each apt-get call and each change
# asked of dpkg, options left out).
cat >"$fake/apt-get" <<EOF
#!/bin/bash
words=()
for a in "\$@"; do [[ \$a == -* ]] || words+=("\$a"); done
echo "apt-get \${words[*]}" >>"$work/calls"
case \$1 in
    update)
        if grep -qx update "$work/fail"; then
            echo "E: Failed to fetch http://deb.debian.org/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress? [IP: 203.0.113.80 80]"
            echo "   Hashes of expected file:"
            echo "E: Some index files failed to download. They have been ignored, or old ones used instead."
            exit 100
        fi ;;
    install)
        for p in "\${words[@]:1}"; do
            if grep -qxF "\$p" "$work/fail"; then
                echo "The following packages have unmet dependencies:"
                echo " \$p : Depends: libwine (= 8.0~repack-4) but it is not going to be installed"
                echo "E: Unable to correct problems, you have held broken packages."
                exit 100
            fi
        done
        printf '%s\n' "\${words[@]:1}" >>"$work/installed" ;;
esac
EOF
cat >"$fake/dpkg" <<EOF
#!/bin/bash
case \$1 in
    -s) grep -qxF "\$2" "$work/installed" ;;
    --print-foreign-architectures) cat "$work/arches" ;;
    --add-architecture)
        echo "dpkg add-architecture \$2" >>"$work/calls"
        if grep -qx add-architecture "$work/fail"; then
            echo "dpkg: error: cannot update the architecture list: read-only file system"
            exit 2
        fi
        echo "\$2" >>"$work/arches" ;;
esac
EOF
chmod +x "$fake/apt-get" "$fake/dpkg"

export INKLEAF_APT_GET=$fake/apt-get INKLEAF_DPKG=$fake/dpkg
# shellcheck source=tools/ensure_packages.sh
. "$source/tools/ensure_packages.sh"
# The fakes need no root.
as_root() { "$@"; }
x86_packages_failed=$work/x86-packages-failed

sync="Failed to fetch http://deb.debian.org/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress? [IP: 203.0.113.80 80]"
held="Unable to correct problems, you have held broken packages"
lists="inkleaf: refreshing the package lists failed for some index ($sync): going on with the lists there are"
no_x86="the x86 build will not run here; going on with x64"

# name | missing | failing | foreign architectures | the remembered x86 failure
#   before (none, or its age: fresh is an hour, old two days) | exit status |
#   the calls, ";" between | the lines printed, "\n" between | the
#   remembered failure after (none, now, or kept as it was)
cases=(
    "all present||||none|0|||none"
    "update fails|cmake|update|i386|none|0|apt-get update; apt-get install cmake|inkleaf: installing cmake\n$lists|none"
    "essential install fails|cmake googletest wine32:i386|googletest|i386|none|1|apt-get update; apt-get install cmake googletest|inkleaf: installing cmake googletest wine32:i386\ninkleaf: could not install cmake googletest ($held): the builds need them|none"
    "32-bit install fails|wine32:i386|wine32:i386|i386|none|0|apt-get update; apt-get install wine32:i386|inkleaf: installing wine32:i386\ninkleaf: wine32:i386 could not be installed ($held): $no_x86|now"
    "only wine32 missing|wine32:i386||i386|none|0|apt-get update; apt-get install wine32:i386|inkleaf: installing wine32:i386|none"
    "both installs apart|xvfb wine32:i386||i386|none|0|apt-get update; apt-get install xvfb; apt-get install wine32:i386|inkleaf: installing xvfb wine32:i386|none"
    "update and 32-bit fail|wine32:i386|update wine32:i386|i386|none|0|apt-get update; apt-get install wine32:i386|inkleaf: installing wine32:i386\n$lists\ninkleaf: wine32:i386 could not be installed ($held): $no_x86|now"
    "remembered, fails again|wine32:i386|wine32:i386|i386|fresh|0|apt-get install wine32:i386|inkleaf: installing wine32:i386\ninkleaf: wine32:i386 could not be installed ($held): $no_x86|fresh"
    "remembered, installs now|wine32:i386||i386|fresh|0|apt-get install wine32:i386|inkleaf: installing wine32:i386|none"
    "remembered a day ago|wine32:i386|wine32:i386|i386|old|0|apt-get update; apt-get install wine32:i386|inkleaf: installing wine32:i386\ninkleaf: wine32:i386 could not be installed ($held): $no_x86|now"
    "remembered, essential missing|cmake wine32:i386||i386|fresh|0|apt-get update; apt-get install cmake; apt-get install wine32:i386|inkleaf: installing cmake wine32:i386|none"
    "no i386 yet|wine32:i386|||none|0|dpkg add-architecture i386; apt-get update; apt-get install wine32:i386|inkleaf: installing wine32:i386|none"
    "i386 not added|wine32:i386|add-architecture||none|0|dpkg add-architecture i386|inkleaf: installing wine32:i386\ninkleaf: wine32:i386 could not be installed (dpkg could not add the i386 architecture: dpkg: error: cannot update the architecture list: read-only file system): $no_x86|now"
    "i386 not added, essential missing|make wine32:i386|add-architecture||none|0|dpkg add-architecture i386; apt-get update; apt-get install make|inkleaf: installing make wine32:i386\ninkleaf: wine32:i386 could not be installed (dpkg could not add the i386 architecture: dpkg: error: cannot update the architecture list: read-only file system): $no_x86|now"
)

# The age of the remembered failure: none, now (this minute), fresh or old.
age() {
    if [ ! -e "$1" ]; then echo none
    elif [ -n "$(find "$1" -mmin -5)" ]; then echo now
    elif [ -n "$(find "$1" -mmin -1440)" ]; then echo fresh
    else echo old; fi
}

passed=0 failed=0
for case in "${cases[@]}"; do
    IFS='|' read -r name missing failing arches before want_status want_calls want_out after <<<"$case"
    rm -f "$work"/{installed,arches,fail,calls} "$x86_packages_failed"
    touch "$work/calls"
    read -ra absent <<<"$missing"
    for p in "${essential_packages[@]}" "${x86_packages[@]}"; do
        [[ " ${absent[*]} " == *" $p "* ]] || echo "$p" >>"$work/installed"
    done
    tr ' ' '\n' <<<"$arches" >"$work/arches"
    tr ' ' '\n' <<<"$failing" >"$work/fail"
    case $before in
        fresh) touch -d '1 hour ago' "$x86_packages_failed" ;;
        old) touch -d '2 days ago' "$x86_packages_failed" ;;
    esac
    out=$(set -euo pipefail; ensure_packages 2>&1)
    status=$?
    calls=$(sed ':a; N; s/\n/; /; ta' "$work/calls")
    problems=()
    [ "$status" = "$want_status" ] || problems+=("exit status $status, not $want_status")
    [ "$calls" = "$want_calls" ] || problems+=("calls: '$calls', not '$want_calls'")
    [ "$out" = "$(printf '%b' "$want_out")" ] || problems+=("printed: '$out'")
    [ "$(age "$x86_packages_failed")" = "$after" ] ||
        problems+=("remembered failure $(age "$x86_packages_failed"), not $after")
    # What is remembered is the reason printed.
    if [ "$after" = now ] && ! grep -qF "could not be installed ($(cat "$x86_packages_failed")):" <<<"$out"; then
        problems+=("remembered '$(cat "$x86_packages_failed")'")
    fi
    if [ ${#problems[@]} -eq 0 ]; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAILED: $name"
        printf '  %s\n' "${problems[@]}"
    fi
done

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
