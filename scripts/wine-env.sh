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
#   wine32_installed       whether Wine's 32-bit side is here (scripts/install-deps.sh wine32).
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
wine32_installed() {
    [[ $(dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null) == "install ok installed" \
        && -x /usr/lib/wine/wine ]]
}
