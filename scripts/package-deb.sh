#!/usr/bin/env bash
# Builds the .deb, installs it with apt as a user would, and starts the installed program
# without a display to see that it comes up and keeps running.
#   scripts/package-deb.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-deb}

scripts/install-deps.sh
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
cmake --build "$build" -j 2 --target tarnwick
(cd "$build" && cpack -G DEB)
deb=$(realpath "$build"/tarnwick_*.deb)
dpkg-deb --info "$deb" | grep -E 'Package|Version|Depends'

sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q "$deb"
test -x /usr/bin/tarnwick
test -f /usr/share/applications/tarnwick.desktop
test -f /usr/share/icons/hicolor/48x48/apps/tarnwick.png

# Still running after three seconds: it started and stayed up (timeout's 124).
status=0
QT_QPA_PLATFORM=offscreen timeout 3 /usr/bin/tarnwick || status=$?
if [[ $status -ne 124 ]]; then
    echo "the installed program exited with status $status" >&2
    exit 1
fi
echo "installed package starts: ok"
