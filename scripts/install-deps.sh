#!/usr/bin/env bash
# Installs what a task needs, where it is missing: the one place that knows the packages.
# Debian and Ubuntu: with apt-get (through sudo when not root), saying what it installs.
# Elsewhere: names what is needed and leaves it to the user.
#   scripts/install-deps.sh [run|test|package|bare|fuzz|windows-app|wine32|tidy|fonts|bench
#                            |screenshot]...      (default: run)
set -euo pipefail

# Qt's own Chinese translations (qtbase_zh_CN) come with qt6-translations-l10n.
run=(cmake make g++ pkg-config qt6-base-dev libgl-dev libfontconfig-dev fonts-arphic-uming
    qt6-translations-l10n)
packages=()
german=false
wine32=false
for task in "${@:-run}"; do
    case "$task" in
    run) packages+=("${run[@]}") ;;
    # The number tests also run under a German locale, where "," is the decimal separator. The
    # screen-reader test reads the running program through AT-SPI (pyatspi on Debian's python3,
    # with its own Xvfb, session bus and accessibility bus) and the clipboard with xclip, and
    # types and clicks through X with xdotool.
    test) packages+=("${run[@]}" googletest libgtest-dev binutils-mingw-w64-x86-64 locales
        python3 python3-pyatspi at-spi2-core dbus-daemon xvfb xauth xclip xdotool)
        german=true ;;
    # CPack finds the .deb's library dependencies with dpkg-shlibdeps, which needs file.
    package) packages+=("${run[@]}" dpkg-dev file) ;;
    # A Debian 12 minimal root to run the README's commands in (scripts/test-bare-debian.sh).
    bare) packages+=(debootstrap) ;;
    # clang 14 with its libFuzzer and sanitizer runtimes.
    fuzz) packages+=(cmake make clang libclang-rt-14-dev) ;;
    # The window for Windows, 64- and 32-bit: MinGW-w64, GoogleTest from its sources, Wine on
    # Xvfb for the tests, pefile to read the programs back, NSIS and zip to pack them with the
    # licence texts of the runtimes linked in (the copyright files of the last two packages).
    # The rules and model tests run once more under a German Windows locale, which Wine takes
    # from the Unix one.
    windows-app) packages+=(cmake make g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
        binutils-mingw-w64-x86-64 binutils-mingw-w64-i686 gcc-mingw-w64-base mingw-w64-common
        googletest wine wine64 xvfb xauth x11-utils nsis zip python3 python3-pefile locales)
        german=true ;;
    # Wine's 32-bit side, for the 32-bit program's tests, and where the kernel runs no 32-bit
    # code the emulator it then runs under: steps of their own (see below).
    wine32) wine32=true ;;
    # clang-tidy reads the Windows window as the MinGW-w64 cross build compiles it.
    tidy) packages+=("${run[@]}" clang-tidy g++-mingw-w64-x86-64-posix) ;;
    # The window's embedded Song face, cut from AR PL UMing by fonttools' subsetter.
    fonts) packages+=(python3 python3-fonttools fonts-arphic-uming) ;;
    # Xvfb, xcalc and the probe's X libraries; the GTK 3 theme, to measure what it costs;
    # valgrind to count instructions to the first frame.
    bench) packages+=("${run[@]}" xvfb x11-apps x11-utils dbus-daemon libxcb1-dev
        libxcb-damage0-dev libxcb-shm0-dev libbenchmark-dev qt6-gtk-platformtheme valgrind) ;;
    # A private X display and the tools that photograph a window on it.
    screenshot) packages+=(xvfb x11-apps x11-utils netpbm) ;;
    *) echo "unknown task: $task" >&2; exit 2 ;;
    esac
done

if ! command -v apt-get >/dev/null 2>&1 || ! command -v dpkg-query >/dev/null 2>&1; then
    if [[ ${#packages[@]} -gt 0 ]]; then
        echo "This system has no apt-get. Install by hand what these Debian packages provide:"
        echo "  ${packages[*]}"
    fi
    [[ $wine32 == false ]] || echo "Wine's 32-bit side is not installed here (no apt-get), so" \
        "the 32-bit program's tests under Wine are skipped."
    exit 0
fi

# As root, or through sudo; a bare system may have no sudo, and then only root can install.
as_root() {
    if [[ $(id -u) -eq 0 ]]; then
        "$@"
    elif command -v sudo >/dev/null 2>&1; then
        sudo "$@"
    else
        echo "Installing needs root and this system has no sudo: run this command as root." >&2
        exit 1
    fi
}

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
if [[ ${#missing[@]} -gt 0 ]]; then
    echo "Installing: ${missing[*]}"
    # Another apt run (a second build on the same machine) holds the lock: wait for it.
    as_root apt-get -o DPkg::Lock::Timeout=900 update -q
    as_root env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=900 install \
        -y -q --no-install-recommends \
        "${missing[@]}"
fi

if [[ $german == true ]] && ! locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8'; then
    echo "Generating the de_DE.UTF-8 locale"
    as_root localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi

# Wine's 32-bit side comes from the i386 architecture, whose archive index can be out of step
# with amd64's (then the two halves of Wine cannot be installed at the same version). Failing
# here costs the 32-bit tests under Wine, not the build: one line says so and the task succeeds.
wine32_skipped() {
    echo "Wine's 32-bit side (wine32:i386) is not installed, so the 32-bit program's tests under" \
        "Wine are skipped: $1"
    exit 0
}
[[ $wine32 == false ]] || source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
if [[ $wine32 == true && $(dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null) != \
    "install ok installed" ]]; then
    [[ $(dpkg --print-architecture) == amd64 ]] \
        || wine32_skipped "this is no amd64 system but $(dpkg --print-architecture)"
    [[ $(id -u) -eq 0 ]] || command -v sudo >/dev/null 2>&1 \
        || wine32_skipped "installing needs root and this system has no sudo"
    log=$(mktemp)
    added=false
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        as_root dpkg --add-architecture i386
        added=true
    fi
    echo "Installing: wine32:i386"
    # An index that failed to download may not matter: the install tells.
    as_root apt-get -o DPkg::Lock::Timeout=900 update -q >"$log" 2>&1 || true
    if as_root env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=900 \
        install -y -q --no-install-recommends wine32:i386 >>"$log" 2>&1; then
        rm -f "$log"
    else
        reason=$(grep -m 1 '^E:' "$log" || true)
        rm -f "$log"
        # A half-working i386 index would make every later apt-get update fail: drop it again.
        [[ $added == false ]] || as_root dpkg --remove-architecture i386 2>/dev/null || true
        wine32_skipped "apt-get failed (${reason:-no reason given})"
    fi
fi

# Some kernels (this project's development machines') run no 32-bit programs at all. There Wine's
# 32-bit side runs under QEMU's user-mode emulator, in a private binfmt_misc (wine-env.sh,
# wine32_side). It must be a static qemu-i386 of QEMU 10 or later: 7.2 (Debian 12's) hangs as
# Wine starts its services. Debian 13's qemu-user is that; on Debian 12 the same package is
# fetched from Debian 13 by name, with apt's own lists and cache kept apart from the system's,
# and only its qemu-i386 is kept, outside the clone (the system's apt sources stay as they are).
[[ $wine32 == true && -x $wine32_loader ]] || exit 0
"$wine32_loader" --version >/dev/null 2>&1 && exit 0
qemu_i386 >/dev/null && exit 0
debian=$(. /etc/os-release && [[ ${ID:-} == debian ]] && echo "${VERSION_ID:-0}" || echo 0)
if [[ $debian == 0 ]]; then
    echo "This kernel runs no 32-bit programs: Wine's 32-bit side needs a static qemu-i386 of" \
        "QEMU 10 or later on PATH, so the 32-bit program's tests under Wine are skipped."
    exit 0
fi
if [[ $debian -ge 13 ]]; then
    echo "Installing: qemu-user (Wine's 32-bit side runs under its qemu-i386 here)"
    as_root env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=900 install \
        -y -q --no-install-recommends qemu-user
    exit 0
fi
echo "Fetching Debian 13's qemu-user for its qemu-i386 (once; kept in $qemu_cache)"
apt_dir=$(mktemp -d)
trap 'rm -rf "$apt_dir"' EXIT
mkdir -p "$apt_dir/lists/partial" "$apt_dir/archives/partial" "$qemu_cache"
echo "deb [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian" \
    "trixie main" >"$apt_dir/sources.list"
apt_private=(-o Dir::Etc::SourceList="$apt_dir/sources.list" -o Dir::Etc::SourceParts=/dev/null
    -o Dir::State::Lists="$apt_dir/lists" -o Dir::Cache="$apt_dir" -o Debug::NoLocking=1
    -o APT::Sandbox::User="$(id -un)" -o Dpkg::Use-Pty=0)
if ! apt-get "${apt_private[@]}" update -q >"$apt_dir/log" 2>&1 \
    || ! (cd "$apt_dir" && apt-get "${apt_private[@]}" download qemu-user >>"$apt_dir/log" 2>&1) \
    || ! dpkg-deb --fsys-tarfile "$apt_dir"/qemu-user_*.deb \
        | tar -x -O ./usr/bin/qemu-i386 >"$qemu_cache/qemu-i386.part"; then
    rm -f "$qemu_cache/qemu-i386.part"
    echo "Could not fetch Debian 13's qemu-user: $(grep -m 1 '^E:' "$apt_dir/log" || true)"
    exit 0
fi
chmod +x "$qemu_cache/qemu-i386.part"
mv "$qemu_cache/qemu-i386.part" "$qemu_cache/qemu-i386"
qemu_i386 >/dev/null || echo "The fetched qemu-i386 is no static QEMU 10 or later."
