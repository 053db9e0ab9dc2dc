#!/usr/bin/env bash
# Takes a screenshot of Tarnwick.exe's client area under Wine on a private Xvfb display, at the
# given screen density.
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
wine_managed Y

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
# The client area alone: Wine draws the frame itself here, in its own fonts (without the
# Chinese glyphs that Windows' caption font has).
read -r width height < <(xwininfo -id "$window" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 }
    END { print w, h }')
client_width=$(( (568 * dpi + 48) / 96 ))
client_height=$(( (460 * dpi + 48) / 96 ))
border=$(( (width - client_width) / 2 ))
xwd -silent -id "$window" | xwdtopnm 2>/dev/null \
    | pnmcut -left "$border" -top $(( height - client_height - border )) -width "$client_width" \
        -height "$client_height" | pnmtopng >"$output"
echo "wrote $output ($client_width x $client_height pixels)"
