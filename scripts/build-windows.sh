#!/usr/bin/env bash
# Builds Tarnwick.exe for 64-bit and for 32-bit Windows here on Debian with MinGW-w64, packs
# both, and tests them and their installers under Wine on a private X display. Leaves in
# dist/windows/:
#   Tarnwick.exe                    the 64-bit program: one static file, no DLLs beside it
#   Tarnwick-x86.exe                the 32-bit program, for 32-bit Windows
#   Tarnwick-VERSION.zip            both, and the licence texts of the runtimes linked into them
#   Tarnwick-VERSION-setup.exe      the 64-bit installer (per user, Start-menu entry, uninstaller)
#   Tarnwick-VERSION-x86-setup.exe  the 32-bit installer, itself a 32-bit program
#   scripts/build-windows.sh [BUILD_DIR]   (default: build-windows-app in the source tree; the
#                                           32-bit build is in BUILD_DIR-x86 beside it)
# The tests under Wine: the rules and window-model tests, once more with Windows' locale German;
# the window's tests; the layout at four densities; both installers. Each test program is one
# CTest test, started once (a start that Wine failed is tried once more: cmake/wine-run.sh).
# The 32-bit program's tests need Wine's 32-bit side (wine32:i386), installed where the archive
# allows it. Where the kernel runs no 32-bit programs, that side runs under QEMU's qemu-i386, in a
# user namespace of its own whose binfmt_misc hands them to it (scripts/wine-env.sh, wine32_side):
# the 32-bit tests run there, the 64-bit ones outside, never needing it. Where Wine's 32-bit side
# cannot run at all, a line says why the 32-bit tests are skipped, they are not built, and the
# program is only read back (tests/win32/check_exe.py). Exits non-zero if any test fails.
# Set TARNWICK_WINDOWS_TESTS=0 to build and pack without running the tests.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build-windows-app}
mkdir -p "$build"
build=$(cd "$build" && pwd)
build_x86=$build-x86
dist=$root/dist/windows
jobs=${JOBS:-2}
tests=${TARNWICK_WINDOWS_TESTS:-1}
# Set by this script when it starts itself again where Wine's 32-bit side runs, for those tests.
phase=${TARNWICK_WINDOWS_PHASE:-all}

# shellcheck source=scripts/wine-env.sh
source "$root/scripts/wine-env.sh"
[[ $phase == x86 ]] || "$root/scripts/install-deps.sh" windows-app wine32

# Release, built for size where it costs no speed: unused code dropped at link time (see
# app/win32/CMakeLists.txt), link-time optimisation of the program's own code, no symbols. The
# toolchain's -static stays in the general linker flags, for the test programs too.
build_for() { # build folder, toolchain, whether to build the tests (ON or OFF)
    mkdir -p "$1"
    # A folder configured with another generator (Ninja, in older builds) starts afresh.
    grep -qsx 'CMAKE_GENERATOR:INTERNAL=Unix Makefiles' "$1/CMakeCache.txt" \
        || rm -rf "$1/CMakeCache.txt" "$1/CMakeFiles"
    cmake -S "$root" -B "$1" -G "Unix Makefiles" \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-$2.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING="$3" -DCMAKE_EXE_LINKER_FLAGS_RELEASE=-s \
        -DCMAKE_INTERPROCEDURAL_OPTIMIZATION=ON >"$1/cmake.log"
    cmake --build "$1" -j "$jobs"
}
tests_x86=OFF
if [[ $tests != 0 ]]; then
    if wine32_side; then
        tests_x86=ON
        [[ $wine32_how == native ]] || echo "Wine's 32-bit side runs under $(qemu_i386) here"
    else
        echo "Skipped: the 32-bit program's tests and installer under Wine, since $wine32_why;" \
            "Tarnwick-x86.exe is only built and read back."
    fi
fi
exe=$build/Tarnwick.exe
exe_x86=$build_x86/Tarnwick.exe

# The zip of both programs with the licence texts, and an installer for each.
pack() { # version
    local packing=$build/packing
    rm -rf "$dist"
    mkdir -p "$dist"
    cp "$exe" "$dist/Tarnwick.exe"
    cp "$exe_x86" "$dist/Tarnwick-x86.exe"
    "$root/packaging/windows/licences.sh" "$packing/licences"
    cp "$dist/Tarnwick.exe" "$dist/Tarnwick-x86.exe" "$packing/"
    (cd "$packing" \
        && zip -q -r -X "$dist/Tarnwick-$1.zip" Tarnwick.exe Tarnwick-x86.exe licences)
    makensis -V2 -DARCH=x64 -DEXE="$exe" -DVERSION="$1" -DOUTFILE="$setup" \
        "$root/packaging/windows/tarnwick.nsi"
    makensis -V2 -DARCH=x86 -DEXE="$exe_x86" -DVERSION="$1" -DOUTFILE="$setup_x86" \
        "$root/packaging/windows/tarnwick.nsi"
}

if [[ $phase == all ]]; then
    echo "== 64-bit build in $build"
    build_for "$build" x86_64 ON
    echo "== 32-bit build in $build_x86"
    build_for "$build_x86" i686 "$tests_x86"
fi
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
setup=$dist/Tarnwick-$version-setup.exe
setup_x86=$dist/Tarnwick-$version-x86-setup.exe
[[ $phase != all ]] || pack "$version"

status=0
run_tests() { # build folder, then the densities to run the layout tests at
    local dir=$1 dpi
    shift
    # The rules and model tests side by side; the window tests one at a time, since each takes
    # the focus.
    ctest --test-dir "$dir" --output-on-failure -j "$jobs" -LE 'dpi|older' -E '^win32_' || status=1
    ctest --test-dir "$dir" --output-on-failure -j 1 -LE 'dpi|older' -R '^win32_' || status=1
    for dpi in "$@"; do
        echo "== Layout tests at $dpi dpi"
        wine_set_dpi "$dpi"
        wine_server_restart
        TARNWICK_EXPECT_DPI=$dpi ctest --test-dir "$dir" --output-on-failure -j 1 -L dpi \
            || status=1
    done
    wine_set_dpi 96
}

# The window's behaviour and layout as on older Windows at a density: as on Windows 7 SP1 or 8.1,
# the later functions refused to the program, Wine reporting that Windows.
run_as_older() { # build folder, then each Windows and density as win7:96
    local dir=$1 profile windows dpi
    shift
    for profile in "$@"; do
        windows=${profile%:*} dpi=${profile#*:}
        echo "== As on $windows at $dpi dpi"
        wine_set_version "$windows"
        wine_set_dpi "$dpi"
        wine_server_restart
        TARNWICK_EXPECT_DPI=$dpi ctest --test-dir "$dir" --output-on-failure -j 1 \
            -L "^$windows\$" || status=1
    done
    wine_set_version ""
    wine_set_dpi 96
    wine_server_restart
}

# The rules and the model once more with Windows' locale German, whose decimal separator is a
# comma: the numbers must not follow it. Wine takes its locale from LANG as its server starts.
run_in_german() { # build folder
    local german=de_DE.UTF-8 decimal
    echo "== The rules and model tests with Windows' locale German"
    LANG=$german LC_ALL=$german wine_server_restart
    decimal=$(LANG=$german LC_ALL=$german "$wine" reg query \
        'HKEY_CURRENT_USER\Control Panel\International' /v sDecimal </dev/null \
        | tr -d '\r' | awk '$1 == "sDecimal" { print $3 }')
    echo "   Windows' decimal separator: \"$decimal\""
    if [[ $decimal != , ]]; then
        echo "Wine's locale is not German: its decimal separator is \"$decimal\""
        status=1
    fi
    LANG=$german LC_ALL=$german ctest --test-dir "$1" --output-on-failure -j "$jobs" -L locale \
        || status=1
    wine_server_restart
}

# The installer, silently under Wine: what it writes, then the uninstaller removes all of it.
check_installer() { # installer, the program it must install
    local appdata programs installed startmenu ok=true f
    local key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarnwick'
    appdata=$("$wine" cmd /c echo %LOCALAPPDATA% | tr -d '\r')
    installed=$("$wine" winepath -u "$appdata" | tr -d '\r')/Programs/Tarnwick
    programs=$("$wine" cmd /c echo %APPDATA% | tr -d '\r')
    startmenu=$("$wine" winepath -u "$programs\\Microsoft\\Windows\\Start Menu\\Programs" \
        | tr -d '\r')
    echo "== $(basename "$1") under Wine"
    "$wine" "$1" /S
    for f in "$installed/Tarnwick.exe" "$installed/Uninstall.exe" "$startmenu/Tarnwick.lnk"; do
        [[ -f $f ]] || { echo "not installed: $f"; ok=false; }
    done
    cmp -s "$installed/Tarnwick.exe" "$2" || { echo "installed exe differs"; ok=false; }
    "$wine" reg query "$key" /v UninstallString >/dev/null 2>&1 \
        || { echo "no uninstall entry"; ok=false; }
    # The uninstaller copies itself away and returns at once; wait for it to finish.
    "$wine" "$installed/Uninstall.exe" /S
    for _ in $(seq 60); do
        [[ -e $installed || -e $startmenu/Tarnwick.lnk ]] || break
        sleep 0.5
    done
    for f in "$installed" "$startmenu/Tarnwick.lnk"; do
        [[ ! -e $f ]] || { echo "left behind by the uninstaller: $f"; ok=false; }
    done
    if "$wine" reg query "$key" >/dev/null 2>&1; then
        echo "uninstall entry left behind"
        ok=false
    fi
    if [[ $ok == true ]]; then
        echo "installer: installed and uninstalled cleanly"
    else
        status=1
    fi
}

# Wine on a private X display of its own; each build folder has its own Wine prefix, with one
# Wine server for all that runs in it.
xvfb_pid=
prefixes=()
use_prefix() { # build folder [x86]
    wine_prefix "$@"
    wine_managed N
    prefixes+=("$WINEPREFIX")
    wine_set_dpi 96
    wine_server_restart
}
cleanup() {
    local prefix
    for prefix in "${prefixes[@]}"; do
        WINEPREFIX=$prefix "$wineserver" --kill 2>/dev/null || true
    done
    [[ -z $xvfb_pid ]] || kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

# The 32-bit program: the same tests at 96 and 144 dpi, and as on Windows 7 (where most 32-bit
# Windows is) at 96 dpi.
test_x86() {
    echo "== The 32-bit program under Wine"
    use_prefix "$build_x86" x86
    run_tests "$build_x86" 96 144
    run_in_german "$build_x86"
    run_as_older "$build_x86" win7:96
    check_installer "$setup_x86" "$exe_x86"
}
if [[ $phase == x86 ]]; then
    test_x86
    exit "$status"
fi

if [[ $tests != 0 ]]; then
    exec {display_fd}<> <(:)
    Xvfb -displayfd "$display_fd" -screen 0 1280x1024x24 -nolisten tcp -noreset \
        >"$build/xvfb.log" 2>&1 &
    xvfb_pid=$!
    read -r -t 30 -u "$display_fd" display_number
    exec {display_fd}<&-
    export DISPLAY=:$display_number
    unset WAYLAND_DISPLAY
    echo "Private X display $DISPLAY"

    echo "== The 64-bit program under Wine"
    use_prefix "$build"
    run_tests "$build" 96 120 144 192
    run_in_german "$build"
    run_as_older "$build" win7:96 win7:144 win81:96 win81:144
    check_installer "$setup" "$exe"
    if [[ $tests_x86 == OFF ]]; then
        /usr/bin/python3 "$root/tests/win32/check_exe.py" "$dist/Tarnwick-x86.exe" \
            --machine x86 || status=1
    elif [[ $wine32_how == native ]]; then
        test_x86
    else
        # The script once more, for the 32-bit tests alone, where qemu-i386 runs 32-bit programs.
        TARNWICK_WINDOWS_PHASE=x86 wine32_enter "$BASH" "$root/scripts/build-windows.sh" \
            "$build" || status=1
    fi
fi

echo "Tarnwick.exe (64-bit): $(stat -c %s "$exe") bytes"
echo "Tarnwick-x86.exe (32-bit): $(stat -c %s "$exe_x86") bytes"
ls -l "$dist"
exit "$status"
