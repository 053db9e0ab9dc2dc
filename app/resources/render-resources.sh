#!/usr/bin/env bash
# Renders the icon and banner images from their SVG sources. Run it after editing
# any of the SVG files and commit the results; the build itself only uses the
# rendered files.
#
# Needs rsvg-convert (librsvg) and ImageMagick, and the bold "Noto Sans CJK SC"
# font for the banner's Chinese text.
#
# The 16 and 24 px icons are drawn from their own pixel-grid SVGs
# (tarnwick-icon-16.svg, tarnwick-icon-24.svg): scaling the full drawing down that
# far blurs the signs on the keys. Every other size comes from tarnwick-icon.svg.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
cd "$here"

if command -v magick >/dev/null 2>&1; then
    im=(magick)
else
    im=(convert)
fi

for tool in rsvg-convert "${im[0]}"; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "render-resources.sh: $tool not found" >&2
        exit 1
    fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

icon_source() {
    case "$1" in
        16) echo tarnwick-icon-16.svg ;;
        24) echo tarnwick-icon-24.svg ;;
        *) echo tarnwick-icon.svg ;;
    esac
}

# Linux icon theme images.
sizes=(256 128 48 32 24 16)
for n in "${sizes[@]}"; do
    dir="icons/hicolor/${n}x${n}/apps"
    mkdir -p "$dir"
    rsvg-convert -w "$n" -h "$n" "$(icon_source "$n")" -o "$work/icon-$n.png"
    # Force 8-bit RGBA and drop timestamps so re-running gives identical files.
    "${im[@]}" "$work/icon-$n.png" -strip -define png:exclude-chunks=date,time \
        "PNG32:$dir/tarnwick.png"
done
mkdir -p icons/hicolor/scalable/apps
cp tarnwick-icon.svg icons/hicolor/scalable/apps/tarnwick.svg

# Windows icon: six 32-bit images with alpha, largest first (pack-ico.py).
ico_inputs=()
for n in "${sizes[@]}"; do
    ico_inputs+=("icons/hicolor/${n}x${n}/apps/tarnwick.png")
done
python3 pack-ico.py tarnwick.ico "${ico_inputs[@]}"

# Banner, at 1x and 2x. Chroma is not subsampled so the coloured text stays sharp.
render_banner() {
    local width=$1 height=$2 out=$3
    rsvg-convert -w "$width" -h "$height" -b white banner.svg -o "$work/banner.png"
    "${im[@]}" "$work/banner.png" -background white -alpha remove -alpha off -strip \
        -sampling-factor 1x1 -quality 92 "$out"
}
render_banner 350 178 banner.jpg
render_banner 700 356 banner@2x.jpg

echo "render-resources.sh: done"
