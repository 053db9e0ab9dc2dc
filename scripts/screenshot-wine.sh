#!/usr/bin/env bash
# Takes a screenshot of Tarnwick.exe under Wine on a private Xvfb display (no window manager, so
# the picture is the window's client area alone), at the given screen density.
#   scripts/screenshot-wine.sh OUTPUT.png [DPI] [BUILD_DIR]
# DPI is Wine's LogPixels (96 for 100 %, 192 for 200 %); BUILD_DIR is where
# scripts/build-windows.sh built the 64-bit program (default build-windows-app, with Tarnwick.exe
# at its top), whose Wine prefix is used. The prefix's density is set back to 96 afterwards.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
output=${1:?usage: $0 OUTPUT.png [DPI] [BUILD_DIR]}
dpi=${2:-96}
build=$(cd "${3:-$root/build-windows-app}" && pwd)
[[ -f $build/Tarnwick.exe ]] || { echo "no $build/Tarnwick.exe" >&2; exit 1; }

"$root/scripts/install-deps.sh" screenshot windows-app

# shellcheck source=bench/session.sh
source "$root/bench/session.sh"
display=$(free_display 95)
start_xvfb "$display"
export DISPLAY=:$display
# shellcheck source=scripts/wine-env.sh
source "$root/scripts/wine-env.sh"
wine_prefix "$build"

app=""
finish() {
    [[ -z $app ]] || kill "$app" 2>/dev/null || true
    wine_set_dpi 96 || true
    "$wineserver" --kill 2>/dev/null || true
    end_session
}
trap finish EXIT
# The density is read when the Wine session starts: set it, then start afresh.
wine_set_dpi "$dpi"
"$wineserver" --kill 2>/dev/null || true
"$wineserver" --wait 2>/dev/null || true

"$wine" "$build/Tarnwick.exe" 2>>"$work/programs.log" &
app=$!
window=""
for _ in $(seq 300); do
    window=$(xwininfo -root -tree 2>/dev/null | awk '/"Tarnwick/ { print $1; exit }')
    [[ -n $window ]] && break
    sleep 0.1
done
if [[ -z $window ]]; then
    echo "the window did not appear; the program said:" >&2
    tail -n 20 "$work/programs.log" >&2
    exit 1
fi
sleep 2 # let it finish its first paint
xwd -silent -id "$window" | xwdtopnm 2>/dev/null | pnmtopng >"$output"
echo "wrote $output ($(xwininfo -id "$window" | awk '/Width|Height/ { printf "%s ", $2 }')pixels)"
