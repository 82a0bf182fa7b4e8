# The Debian packages the builds and tests need, and ensure_packages, which
# installs those that are missing. Sourced by ./inkleaf, which sets
# x86_packages_failed, and by tests/tools/ensure_packages_test.sh, which
# runs it with fake package tools.

# What the x64 path needs, which is everything but the x86 build's runner.
# fonts-paratype: PT Sans Narrow, the prefixes' dialog font (cmake/make-prefix.sh).
# gcab packs the device's installation cabinet; cabextract reads it back in its test.
# gcc-arm-linux-gnueabi compiles the ARM interpreter's test code; qemu-user's qemu-arm is
# the reference processor it is checked against.
essential_packages=(g++ clang libclang-rt-14-dev g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
                    cmake make googletest wine wine64
                    xvfb xserver-xephyr xdotool xauth file imagemagick valgrind fonts-paratype
                    gcab cabextract gcc-arm-linux-gnueabi qemu-user)
# 32-bit wine, which runs the x86 build's programs where the machine executes
# 32-bit code. Its i386 libraries must match the amd64 ones exactly, which a
# mirror does not always allow; without it the x86 build is still made.
x86_packages=(wine32:i386)

# The package tools; INKLEAF_APT_GET and INKLEAF_DPKG name others to run in
# their place.
apt_get=${INKLEAF_APT_GET:-apt-get}
dpkg=${INKLEAF_DPKG:-dpkg}

# A file that holds the reason the x86 packages could not be installed. For a
# day after that, while nothing essential is missing, the package lists are
# not refreshed for them: one install is tried with the lists there are.
x86_packages_failed=${x86_packages_failed:-}

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

# attempt first|last COMMAND...: runs COMMAND as root, its output kept back.
# When it fails, sets reason to apt's first or last error line without its
# "E: " and its closing full stop, or to the last line it printed, or to its
# exit status.
attempt() {
    local which=$1 output status=0 lines
    shift
    output=$(as_root "$@" 2>&1) || status=$?
    [ "$status" -eq 0 ] && return 0
    lines=$(sed -n 's/^E: //p' <<<"$output")
    [ -n "$lines" ] || lines=$(grep . <<<"$output")
    if [ "$which" = first ]; then reason=$(head -n1 <<<"$lines"); else reason=$(tail -n1 <<<"$lines"); fi
    reason=${reason%.}
    [ -n "$reason" ] || reason="exit status $status"
    return "$status"
}

# Installs what is missing: the essential packages in one install, which
# must succeed, then the x86 packages in another, which may fail. A failed
# refresh of the package lists, or a failure with the x86 packages, is told
# in one line and the install goes on.
ensure_packages() {
    local p missing=() extras=() reason="" x86_reason="" refresh=yes
    for p in "${essential_packages[@]}"; do
        "$dpkg" -s "$p" >/dev/null 2>&1 || missing+=("$p")
    done
    for p in "${x86_packages[@]}"; do
        "$dpkg" -s "$p" >/dev/null 2>&1 || extras+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && [ ${#extras[@]} -eq 0 ] && return 0
    local wanted=("${missing[@]}" "${extras[@]}")
    echo "inkleaf: installing ${wanted[*]}"

    # wine32 is an i386 package: dpkg must know that architecture before the
    # lists are refreshed.
    if [ ${#extras[@]} -gt 0 ] &&
           ! grep -qx i386 <<<"$("$dpkg" --print-foreign-architectures 2>/dev/null || true)" &&
           ! attempt last "$dpkg" --add-architecture i386; then
        x86_reason="dpkg could not add the i386 architecture: $reason"
    fi

    if [ ${#missing[@]} -eq 0 ] && { [ -n "$x86_reason" ] ||
            [ -n "$(find "$x86_packages_failed" -maxdepth 0 -mmin -1440 2>/dev/null)" ]; }; then
        refresh=""
    fi
    if [ -n "$refresh" ] && ! attempt first "$apt_get" update -qq; then
        echo "inkleaf: refreshing the package lists failed for some index ($reason):" \
             "going on with the lists there are" >&2
    fi

    if [ ${#missing[@]} -gt 0 ] && ! attempt last env DEBIAN_FRONTEND=noninteractive \
            "$apt_get" install -y -qq --no-install-recommends "${missing[@]}"; then
        echo "inkleaf: could not install ${missing[*]} ($reason): the builds need them" >&2
        exit 1
    fi

    [ ${#extras[@]} -gt 0 ] || return 0
    if [ -z "$x86_reason" ] && attempt last env DEBIAN_FRONTEND=noninteractive \
            "$apt_get" install -y -qq --no-install-recommends "${extras[@]}"; then
        [ -z "$x86_packages_failed" ] || rm -f "$x86_packages_failed"
        return 0
    fi
    x86_reason=${x86_reason:-$reason}
    # Kept as it was when the lists were not refreshed: the day counts from
    # the last refresh.
    if [ -n "$x86_packages_failed" ] && { [ -n "$refresh" ] || [ ! -e "$x86_packages_failed" ]; }; then
        mkdir -p "$(dirname "$x86_packages_failed")"
        echo "$x86_reason" >"$x86_packages_failed"
    fi
    echo "inkleaf: ${extras[*]} could not be installed ($x86_reason):" \
         "the x86 build will not run here; going on with x64" >&2
}
