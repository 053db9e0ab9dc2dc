#!/usr/bin/env bash
# Builds the static Qt for Windows that Tarnwick.exe links: Qt 6.4.2's qtbase from Debian's
# source package, cross-compiled with MinGW-w64 and reduced to what the window needs. The result
# is cached outside the repository, keyed by the Qt version and a hash of the options below, so
# that only the first run on a machine pays (about 20 minutes on two cores).
#   scripts/build-windows-qt.sh            prints the installed Qt's prefix on its last line
# Debian and Ubuntu: installs what is missing through scripts/install-deps.sh.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
jobs=${JOBS:-2}

qt_version=6.4.2
# Debian's tarball, as its source package names it, and the SHA-256 it must have.
qt_package=qt6-base
qt_orig=qt6-base_${qt_version}+dfsg.orig.tar.xz
qt_orig_sha256=4f14b89a9463a540fd84a6718b8519a2297119b454ef547721015a9e9019ae9e

# What the window uses: Core, Gui, Widgets and Test; the windows platform plugin, the
# windowsvista style, PNG (the icon) and JPEG (the banner). Everything else is off.
# Debian's tarball leaves out src/3rdparty/wintab, so tablet events are off (the window has no
# use for pen tablets); without OpenGL the windows plugin also needs dynamic GL off. Qt Gui
# builds its DirectWrite font database only with Direct2D, while the windows plugin asks only
# for DirectWrite 3: with Direct2D off, DirectWrite 3 goes too and the plugin keeps to GDI fonts.
# The last lines drop what a fixed window of labels, fields and buttons never shows (MIME
# database, style sheets, graphics view, file, colour and font dialogs, wizards, MDI, calendar
# and date editors, PDF and ODF writers): each is code and data in every program linked.
qt_features=(
    -DFEATURE_optimize_size=ON
    -DFEATURE_opengl=OFF -DINPUT_opengl=no -DFEATURE_dynamicgl=OFF -DFEATURE_vulkan=OFF
    -DFEATURE_tabletevent=OFF
    -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF
    -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF
    -DFEATURE_direct2d=OFF -DFEATURE_directwrite3=OFF -DFEATURE_freetype=OFF -DFEATURE_fontconfig=OFF
    -DFEATURE_gif=OFF -DFEATURE_ico=OFF -DFEATURE_jpeg=ON -DFEATURE_png=ON
    -DFEATURE_system_jpeg=OFF -DFEATURE_system_png=OFF -DFEATURE_system_zlib=OFF
    -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF
    -DFEATURE_system_doubleconversion=OFF -DFEATURE_zstd=OFF -DFEATURE_icu=OFF
    -DFEATURE_textmarkdownreader=OFF -DFEATURE_textmarkdownwriter=OFF
    -DFEATURE_pkg_config=OFF
    -DFEATURE_mimetype_database=OFF -DFEATURE_style_stylesheet=OFF -DFEATURE_graphicsview=OFF
    -DFEATURE_filedialog=OFF -DFEATURE_colordialog=OFF -DFEATURE_fontdialog=OFF
    -DFEATURE_wizard=OFF -DFEATURE_mdiarea=OFF -DFEATURE_calendarwidget=OFF
    -DFEATURE_datetimeedit=OFF -DFEATURE_pdf=OFF -DFEATURE_textodfwriter=OFF
)
# Section garbage collection needs every function and object in its own section.
qt_flags="-ffunction-sections -fdata-sections"
key=$(printf '%s\n' "$qt_version" "$qt_orig_sha256" "${qt_features[@]}" "$qt_flags" \
    "$(cat "$root/cmake/mingw-w64-x86_64.cmake")" | sha256sum | cut -c1-12)

cache=${XDG_CACHE_HOME:-$HOME/.cache}/tarnwick
prefix=$cache/qt-$qt_version-mingw-static-$key
if [[ -f $prefix/.complete ]]; then
    echo "Qt $qt_version for Windows, cached:"
    echo "$prefix"
    exit 0
fi

"$root/scripts/install-deps.sh" windows-app

# The source: apt-get source through a private apt configuration whose deb-src entries are the
# system's own deb entries (same URIs, suites, components and keys). The system's sources, lists
# and cache stay as they are.
sources=$cache/src
mkdir -p "$sources"
if [[ ! -f $sources/$qt_orig ]]; then
    apt_dir=$(mktemp -d)
    chmod 755 "$apt_dir"
    trap 'rm -rf "$apt_dir"' EXIT
    mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$apt_dir/parts"
    : >"$apt_dir/sources.list"
    # One-line format: "deb [options] URI suite components" becomes the same with deb-src.
    for list in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [[ -f $list ]] || continue
        sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' "$list" >>"$apt_dir/sources.list"
    done
    # deb822 format: each stanza whose Types include deb, with Types: deb-src.
    for list in /etc/apt/sources.list.d/*.sources; do
        [[ -f $list ]] || continue
        awk 'BEGIN { RS = ""; FS = "\n" }
            {
                keep = 0; out = ""
                for (i = 1; i <= NF; i++) {
                    if ($i ~ /^[[:space:]]*#/) continue
                    if ($i ~ /^Types:/) {
                        if ($i ~ /[[:space:]]deb([[:space:]]|$)/) keep = 1
                        out = out "Types: deb-src\n"
                    } else if ($i ~ /^Enabled:[[:space:]]*no/) { keep = 0; break }
                    else out = out $i "\n"
                }
                if (keep) printf "%s\n", out
            }' "$list" >"$apt_dir/parts/$(basename "$list")"
    done
    apt_options=(-o "Dir::Etc::SourceList=$apt_dir/sources.list"
        -o "Dir::Etc::SourceParts=$apt_dir/parts" -o "Dir::State::Lists=$apt_dir/lists"
        -o "Dir::Cache=$apt_dir/cache" -o "Debug::NoLocking=1")
    apt-get "${apt_options[@]}" update -q
    (cd "$apt_dir" && apt-get "${apt_options[@]}" source --download-only -q \
        "$qt_package=$qt_version+dfsg-10" || apt-get "${apt_options[@]}" source \
        --download-only -q "$qt_package")
    mv "$apt_dir/$qt_orig" "$sources/$qt_orig.part"
    mv "$sources/$qt_orig.part" "$sources/$qt_orig"
fi
echo "$qt_orig_sha256  $sources/$qt_orig" | sha256sum -c --quiet || {
    echo "$sources/$qt_orig does not have the pinned SHA-256" >&2
    exit 1
}

# Unpacked and built in a work folder beside the cache, then installed into the keyed prefix.
work=$cache/qt-build-$key
rm -rf "$work" "$prefix"
mkdir -p "$work"
echo "Unpacking $qt_orig"
tar -xJf "$sources/$qt_orig" -C "$work"
src=$(find "$work" -mindepth 1 -maxdepth 1 -type d | head -n 1)

start=$(date +%s)
cmake -S "$src" -B "$work/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF \
    -DCMAKE_C_FLAGS="$qt_flags" -DCMAKE_CXX_FLAGS="$qt_flags" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
    "${qt_features[@]}"
cmake --build "$work/build" -j "$jobs"
cmake --install "$work/build"
end=$(date +%s)
echo "Qt $qt_version for Windows built in $(((end - start) / 60)) min $(((end - start) % 60)) s"
rm -rf "$work"
touch "$prefix/.complete"
echo "$prefix"
