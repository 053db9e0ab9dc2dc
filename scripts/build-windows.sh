#!/usr/bin/env bash
# Builds Tarnwick.exe for 64-bit Windows here on Debian, tests it under Wine with Qt's real
# windows platform on a private X display, and packs it. Leaves in dist/windows/:
#   Tarnwick.exe               the program: one static file, no DLLs beside it
#   Tarnwick-VERSION.zip       the program and the licence texts of the code linked into it
#   Tarnwick-VERSION-setup.exe the installer (per user, Start-menu entry, uninstaller)
#   scripts/build-windows.sh [BUILD_DIR]        (default: build-windows-app in the source tree)
# The first run on a machine builds Qt for Windows (scripts/build-windows-qt.sh, cached).
# Set TARNWICK_WINDOWS_TESTS=0 to build and pack without running the tests.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build-windows-app}
mkdir -p "$build"
build=$(cd "$build" && pwd)
dist=$root/dist/windows
jobs=${JOBS:-2}

"$root/scripts/install-deps.sh" windows-app
"$root/scripts/build-windows-qt.sh" | tee "$build/qt.log"
qt_prefix=$(tail -n 1 "$build/qt.log")
[[ -f $qt_prefix/.complete ]] || { echo "no Qt for Windows at $qt_prefix" >&2; exit 1; }

# Built for size where it costs no speed: every function in its own section and the unused
# ones dropped at link time, link-time optimisation of the program's own code, no symbols.
size_flags="-ffunction-sections -fdata-sections"
cmake -S "$root" -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64-qt.cmake" \
    -DTARNWICK_QT_PREFIX="$qt_prefix" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON \
    -DCMAKE_CXX_FLAGS="$size_flags" -DCMAKE_EXE_LINKER_FLAGS="-static -Wl,--gc-sections -s" \
    -DCMAKE_INTERPROCEDURAL_OPTIMIZATION=ON
cmake --build "$build" -j "$jobs"
exe=$build/Tarnwick.exe
echo "Tarnwick.exe: $(stat -c %s "$exe") bytes"

# Wine in a private prefix of the build folder, on a private X display of its own.
# shellcheck source=scripts/wine-env.sh
source "$root/scripts/wine-env.sh"
export QT_QPA_PLATFORM=windows
xvfb_pid=
cleanup() {
    [[ -z ${wineserver:-} ]] || "$wineserver" --kill 2>/dev/null || true
    [[ -z $xvfb_pid ]] || kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT
exec {display_fd}<> <(:)
Xvfb -displayfd "$display_fd" -screen 0 1280x1024x24 -nolisten tcp -noreset \
    >"$build/xvfb.log" 2>&1 &
xvfb_pid=$!
read -r -t 30 -u "$display_fd" display_number
exec {display_fd}<&-
export DISPLAY=:$display_number
unset WAYLAND_DISPLAY
echo "Private X display $DISPLAY"
wine_prefix "$build"
# One Wine server for the whole run: each test is its own Wine process.
wine_server_start

status=0
if [[ ${TARNWICK_WINDOWS_TESTS:-1} != 0 ]]; then
    # The rules tests side by side; the window tests one at a time, since each takes the focus.
    ctest --test-dir "$build" --output-on-failure -j "$jobs" -E '^tst_' || status=$?
    TARNWICK_MONKEY_ACTIONS=${TARNWICK_MONKEY_ACTIONS:-400} \
        ctest --test-dir "$build" --output-on-failure -R '^tst_' || status=$?
fi

# The packages.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
rm -rf "$dist"
mkdir -p "$dist"
cp "$exe" "$dist/Tarnwick.exe"

# The licence texts: Qt's own, and those of the third-party code in Qt that is linked in.
licences=$build/licences
rm -rf "$licences"
/usr/bin/python3 "$root/packaging/windows/licences.py" \
    "${XDG_CACHE_HOME:-$HOME/.cache}/tarnwick/src/qt6-base_6.4.2+dfsg.orig.tar.xz" \
    "$licences/licences" \
    3rdparty/{zlib,libpng,libjpeg,harfbuzz-ng,pcre2,double-conversion,easing,icc} \
    3rdparty/{md4,md5,sha1,sha3,rfc6234,blake2,tinycbor,pixman} \
    corelib/text corelib/tools gui/painting gui/text
cat >"$licences/licences/README.txt" <<EOF
Tarnwick.exe is linked statically with Qt $(basename "$qt_prefix" | cut -d- -f2) (qtbase), used
under the GNU Lesser General Public License version 3 (Qt/LGPL-3.0-only.txt). Qt's source is
Debian's source package qt6-base; third-party/ holds the licences of the code within Qt that is
linked in, each folder with Qt's attribution record of it.
EOF
zip_name=Tarnwick-$version.zip
(cd "$licences" && cp "$exe" Tarnwick.exe && rm -f "$dist/$zip_name" \
    && zip -q -r -X "$dist/$zip_name" Tarnwick.exe licences)

setup=$dist/Tarnwick-$version-setup.exe
makensis -V2 -DEXE="$exe" -DVERSION="$version" -DOUTFILE="$setup" \
    "$root/packaging/windows/tarnwick.nsi"

# The installer, silently under Wine: what it writes, then the uninstaller removes all of it.
if [[ ${TARNWICK_WINDOWS_TESTS:-1} != 0 ]]; then
    appdata=$("$wine" cmd /c echo %LOCALAPPDATA% | tr -d '\r')
    appdata_unix=$("$wine" winepath -u "$appdata" | tr -d '\r')
    programs=$("$wine" cmd /c echo %APPDATA% | tr -d '\r')
    startmenu_unix=$("$wine" winepath -u "$programs\\Microsoft\\Windows\\Start Menu\\Programs" \
        | tr -d '\r')
    key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarnwick'
    installed=$appdata_unix/Programs/Tarnwick
    echo "== The installer under Wine"
    "$wine" "$setup" /S
    install_ok=true
    for f in "$installed/Tarnwick.exe" "$installed/Uninstall.exe" "$startmenu_unix/Tarnwick.lnk"; do
        [[ -f $f ]] || { echo "not installed: $f"; install_ok=false; }
    done
    cmp -s "$installed/Tarnwick.exe" "$exe" || { echo "installed exe differs"; install_ok=false; }
    "$wine" reg query "$key" /v UninstallString >/dev/null 2>&1 \
        || { echo "no uninstall entry"; install_ok=false; }
    # The uninstaller copies itself away and returns at once; wait for it to finish.
    "$wine" "$installed/Uninstall.exe" /S
    for _ in $(seq 60); do
        [[ -e $installed || -e $startmenu_unix/Tarnwick.lnk ]] || break
        sleep 0.5
    done
    for f in "$installed" "$startmenu_unix/Tarnwick.lnk"; do
        [[ ! -e $f ]] || { echo "left behind by the uninstaller: $f"; install_ok=false; }
    done
    if "$wine" reg query "$key" >/dev/null 2>&1; then
        echo "uninstall entry left behind"
        install_ok=false
    fi
    if [[ $install_ok == true ]]; then
        echo "installer: installed and uninstalled cleanly"
    else
        status=1
    fi
fi

ls -l "$dist"
exit "$status"
