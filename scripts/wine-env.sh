# shellcheck shell=bash
# Sourced by the scripts that run Tarnwick.exe under Wine.
#   wine_prefix BUILD_DIR  a private Wine prefix in the build folder, made on first use (no Mono
#                          or Gecko installer dialogs, no menu entries written outside it); sets
#                          `wine` and `wineserver`. Needs DISPLAY set.
#   wine_server_start      one Wine server for the whole run. The first program started also
#                          starts Wine's own services, which stay as long as the server and would
#                          hold on to the output of whatever started them: they are started here,
#                          detached from every output.
wine_prefix() {
    export WINEPREFIX=$1/wineprefix
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    wine=$(command -v wine64 || command -v wine)
    wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
    if [[ ! -f $WINEPREFIX/system.reg ]]; then
        echo "Creating the Wine prefix $WINEPREFIX"
        "$wine" wineboot --init
        "$wineserver" --wait
    fi
}

wine_server_start() {
    "$wineserver" --persistent
    "$wine" cmd /c ver </dev/null >/dev/null 2>&1
}
