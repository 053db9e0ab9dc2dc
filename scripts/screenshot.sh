#!/usr/bin/env bash
# Takes a screenshot of the program's window on a private Xvfb display (no window manager, so
# the picture is the window's client area alone).
#   scripts/screenshot.sh OUTPUT.png [SCALE] [PROGRAM...]
# SCALE is Qt's scale factor (2 for the 200 % picture); PROGRAM defaults to build/tarnwick.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
output=${1:?usage: $0 OUTPUT.png [SCALE] [PROGRAM...]}
scale=${2:-1}
shift $(($# < 2 ? $# : 2))
program=("$@")
[[ ${#program[@]} -gt 0 ]] || program=("$root/build/tarnwick")

"$root/scripts/install-deps.sh" screenshot

display=99
while [[ -e /tmp/.X$display-lock || -e /tmp/.X11-unix/X$display ]]; do
    display=$((display + 1))
done
Xvfb ":$display" -screen 0 1600x1200x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
app=""
trap 'kill $app $xvfb 2>/dev/null || true' EXIT
export DISPLAY=:$display
for _ in $(seq 50); do
    xwininfo -root >/dev/null 2>&1 && break
    sleep 0.1
done

QT_SCALE_FACTOR=$scale "${program[@]}" &
app=$!
window=""
for _ in $(seq 100); do
    window=$(xwininfo -root -tree 2>/dev/null | awk '/"Tarnwick/ { print $1; exit }')
    [[ -n $window ]] && break
    sleep 0.1
done
if [[ -z $window ]]; then
    echo "the window did not appear" >&2
    exit 1
fi
sleep 1.5 # let it finish its first paint
xwd -silent -id "$window" | xwdtopnm 2>/dev/null | pnmtopng >"$output"
echo "wrote $output"
