# shellcheck shell=bash
# Sourced by the scripts that run Tarnwick.exe under Wine.
#   wine_prefix BUILD_DIR [x86]  a private Wine prefix in the build folder, made on first use (no
#                          Mono or Gecko installer dialogs, no menu entries written outside it);
#                          sets `wine` and `wineserver`. Needs DISPLAY set. With x86: a 32-bit
#                          prefix, as on 32-bit Windows, run by Wine's 32-bit side.
#   wine_server_start      one Wine server for the whole run. The first program started also
#                          starts Wine's own services, which stay as long as the server and would
#                          hold on to the output of whatever started them: they are started here,
#                          detached from every output.
#   wine_server_restart    ends the prefix's server and starts it afresh, as wine_server_start.
#   wine_set_dpi DPI       the screen density of the prefix (LogPixels: 96 for 100 %, 192 for
#                          200 %), which Wine reads when its session starts: restart the server.
#   wine_set_version [NAME]  the Windows that Wine reports to programs (win7, win81, win10...),
#                          read as each program starts; none: Wine's default.
#   wine_managed Y|N       whether Wine leaves its windows to a window manager (Y, its default) or
#                          frames and places them itself (N, override-redirect). No window manager
#                          runs on the private display: with Y a window waits two seconds for one
#                          each time it is hidden or closed, which a test that opens a window per
#                          case cannot afford; with N a window is no ordinary top-level X window,
#                          which the start-up probe waits for. Read as each program starts.
#   wine32_side            whether and how Wine's 32-bit side runs here: sets wine32_how to native
#                          (the kernel runs 32-bit programs) or emulated (it does not: QEMU's
#                          qemu-i386 runs them, in a binfmt_misc of a user namespace of its own,
#                          which wine32_enter makes); fails, with wine32_why saying why, where it
#                          cannot run. It asks by starting Wine's 32-bit loader.
#   wine32_enter COMMAND...  runs COMMAND where 32-bit programs run: as it is where the kernel runs
#                          them, else in a user and mount namespace of its own, as root there
#                          (the same user outside), whose private binfmt_misc hands 32-bit ELF
#                          programs to qemu-i386. Nothing outside the namespace changes.
wine_prefix() {
    export WINEPREFIX=$1/wineprefix
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    if [[ ${2:-} == x86 ]]; then
        export WINEARCH=win32
        wine=$(command -v wine)
    else
        # The 64-bit loader itself: Debian's /usr/bin/wine hands every program to the 32-bit
        # loader once wine32:i386 is installed, which runs only where 32-bit code runs.
        unset WINEARCH
        wine=$(wine64_loader)
    fi
    wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
    if [[ ! -f $WINEPREFIX/system.reg ]]; then
        echo "Creating the Wine prefix $WINEPREFIX"
        "$wine" wineboot --init
        "$wineserver" --wait
    fi
}

wine_managed() {
    "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d "$1" /f </dev/null \
        >/dev/null 2>&1
}

wine_server_start() {
    "$wineserver" --persistent
    "$wine" cmd /c ver </dev/null >/dev/null 2>&1
}

wine_server_restart() {
    "$wineserver" --kill 2>/dev/null || true
    "$wineserver" --wait 2>/dev/null || true
    wine_server_start
}

wine_set_version() {
    if [[ -n ${1:-} ]]; then
        "$wine" reg add 'HKCU\Software\Wine' /v Version /d "$1" /f </dev/null >/dev/null
    else
        "$wine" reg delete 'HKCU\Software\Wine' /v Version /f </dev/null >/dev/null 2>&1 || true
    fi
}

wine_set_dpi() {
    "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null
    "$wine" reg add 'HKCC\Software\Fonts' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null
}

wine64_loader() {
    if [[ -x /usr/lib/wine/wine64 ]]; then
        echo /usr/lib/wine/wine64
    else
        command -v wine64 || command -v wine
    fi
}

# Debian's loader of 32-bit programs comes with wine32:i386.
wine32_loader=/usr/lib/wine/wine
qemu_cache=${XDG_CACHE_HOME:-$HOME/.cache}/tarnwick/qemu

# A qemu-i386 that runs Wine: QEMU 10 or later, static (the system's, or the one that
# scripts/install-deps.sh wine32 keeps), printed; fails where there is none.
qemu_i386() {
    local qemu version
    for qemu in "$(command -v qemu-i386 || true)" "$qemu_cache/qemu-i386"; do
        [[ -n $qemu && -x $qemu ]] || continue
        version=$("$qemu" --version 2>/dev/null | sed -n '1s/^qemu-i386 version \([0-9]*\)\..*/\1/p')
        if [[ -n $version && $version -ge 10 ]]; then
            echo "$qemu"
            return 0
        fi
    done
    return 1
}

wine32_side() {
    wine32_how= wine32_why=
    if [[ ! -x $wine32_loader ]]; then
        wine32_why="Wine's 32-bit side (wine32:i386) is not installed"
        return 1
    fi
    if "$wine32_loader" --version >/dev/null 2>&1; then
        wine32_how=native
        return 0
    fi
    if ! qemu_i386 >/dev/null; then
        wine32_why="this kernel runs no 32-bit programs, and no qemu-i386 of QEMU 10 or later is here"
        return 1
    fi
    if ! wine32_namespace "$wine32_loader" --version >/dev/null 2>&1; then
        wine32_why="this kernel runs no 32-bit programs, and refuses a private binfmt_misc for"
        wine32_why+=" qemu-i386 (it takes Linux 6.7 or later, with user namespaces allowed)"
        return 1
    fi
    wine32_how=emulated
}

wine32_enter() {
    if [[ $wine32_how == emulated ]]; then
        wine32_namespace "$@"
    else
        "$@"
    fi
}

# The magic and mask of a 32-bit x86 ELF program (an executable or a shared object), as QEMU's
# own binfmt configuration gives them; F opens qemu-i386 as it is registered, P keeps argv[0].
wine32_namespace() {
    local qemu
    local magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
    local mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
    qemu=$(qemu_i386) || return 1
    unshare --user --map-root-user --mount -- bash -c '
        set -e
        mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
        printf "%s\n" "$1" >/proc/sys/fs/binfmt_misc/register
        shift
        exec "$@"' wine32-namespace ":tarnwick-i386:M::$magic:$mask:$qemu:FP" "$@"
}
