#!/usr/bin/env bash
# Cross-builds the rules library and its GoogleTest tests for 64-bit Windows with MinGW-w64 and
# runs them under Wine, first as is and then with Wine's Windows locale set to German.
#   scripts/test-windows-rules.sh [BUILD_DIR]      (default: build-windows in the source tree)
# Debian and Ubuntu: installs what is missing with apt-get (through sudo when not root).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build-windows}
mkdir -p "$build"
build=$(cd "$build" && pwd)

# Wine takes its Windows locale from the Unix one, which must exist for the German run.
"$root/scripts/install-deps.sh" windows
german=de_DE.UTF-8

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON \
    -DTARNWICK_GUI=OFF -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake"
cmake --build "$build" -j 2

# A private Wine prefix in the build folder; no display, no Mono or Gecko installer dialogs.
export WINEPREFIX=$build/wineprefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset DISPLAY WAYLAND_DISPLAY
wine=$(command -v wine64 || command -v wine)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
if [[ ! -f $WINEPREFIX/system.reg ]]; then
    echo "Creating the Wine prefix $WINEPREFIX"
    "$wine" wineboot --init
    "$wineserver" --wait
fi

# One Wine server kept up for the whole run: each test is its own Wine process, and a server
# that quits between two of them makes the next one fail ("recvmsg: Connection reset by peer").
trap '"$wineserver" --kill 2>/dev/null || true' EXIT
run_tests() {
    echo "== Windows rules tests under Wine, LANG=$LANG"
    "$wineserver" --persistent
    local decimal
    decimal=$("$wine" reg query 'HKEY_CURRENT_USER\Control Panel\International' /v sDecimal \
        | tr -d '\r' | awk '$1 == "sDecimal" { print $3 }')
    echo "   Windows locale's decimal separator: \"$decimal\""
    local status=0
    ctest --test-dir "$build" --output-on-failure -j 2 || status=$?
    "$wineserver" --kill
    "$wineserver" --wait
    return "$status"
}

status=0
LANG=C.UTF-8 LC_ALL=C.UTF-8 run_tests || status=$?
# Wine takes the Windows user and system locale from LANG/LC_ALL: now German, decimal comma.
# The C runtime itself starts in the "C" locale as on Windows; only a test that calls setlocale
# changes it. So this run proves that the rules ignore the Windows locale settings.
LANG=$german LC_ALL=$german run_tests || status=$?
exit "$status"
