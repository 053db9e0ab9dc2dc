#!/usr/bin/env bash
# Builds the .deb, installs it with apt as a user would, and starts the installed program
# without a display, asks it to quit with SIGTERM and expects it to end with status 0.
#   scripts/package-deb.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-deb}

scripts/install-deps.sh package
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
cmake --build "$build" -j 2 --target tarnwick
(cd "$build" && cpack -G DEB)
deb=$(realpath "$build"/tarnwick_*.deb)
dpkg-deb --info "$deb" | grep -E 'Package|Version|Depends'
# Without dpkg-shlibdeps CPack leaves out Qt's libraries, with no more than a message.
if ! dpkg-deb --field "$deb" Depends | grep -q 'libqt6widgets6'; then
    echo "the package does not declare Qt's libraries among its dependencies" >&2
    exit 1
fi

sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$deb"
test -x /usr/bin/tarnwick
test -f /usr/share/applications/tarnwick.desktop
test -f /usr/share/icons/hicolor/48x48/apps/tarnwick.png

tests/window/quit_on_signal.sh /usr/bin/tarnwick TERM
echo "installed package starts and quits: ok"
