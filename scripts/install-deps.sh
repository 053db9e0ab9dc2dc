#!/usr/bin/env bash
# Installs what building, running and testing the program needs, where it is missing.
# Debian and Ubuntu: with apt-get (through sudo when not root). Elsewhere: names what is needed.
#   scripts/install-deps.sh          the build and the window
#   scripts/install-deps.sh test     also the test tools
set -euo pipefail

packages=(cmake make g++ pkg-config qt6-base-dev libgl-dev fonts-arphic-uming)
if [[ "${1:-}" == test ]]; then
    packages+=(googletest libgtest-dev binutils-mingw-w64-x86-64 locales)
fi

if ! command -v apt-get >/dev/null 2>&1 || ! command -v dpkg-query >/dev/null 2>&1; then
    echo "This system has no apt-get. Install by hand: a C++20 compiler, CMake 3.21 or newer,"
    echo "Qt 6.4 or newer (Widgets, Test), GoogleTest, and a Chinese Song-style font"
    echo "(SimSun, or AR PL UMing, or Noto Serif CJK)."
    exit 0
fi

sudo=()
if [[ $(id -u) -ne 0 ]]; then
    sudo=(sudo)
fi

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
if [[ ${#missing[@]} -gt 0 ]]; then
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update -q
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# The number tests also run under a German locale, where "," is the decimal separator.
if [[ "${1:-}" == test ]] && ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
    echo "Generating the de_DE.UTF-8 locale for the number tests"
    "${sudo[@]}" localedef -i de_DE -f UTF-8 de_DE.UTF-8 || echo "(could not generate it; that test will skip)"
fi
