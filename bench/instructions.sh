#!/usr/bin/env bash
# Instructions from exec to the first painted frame, counted with callgrind, for the program, the
# bare window with the same controls and the empty Qt window; and where the program's go.
#
#   bench/instructions.sh              RUNS=3 counts of each variant (the default)
#   bench/instructions.sh --frames DIR saves the program's first frame at 100 % and 200 %
#                                      (QT_SCALE_FACTOR=2) as DIR/tarnwick.ppm, tarnwick@2x.ppm
#
# Each variant runs under `valgrind --tool=callgrind` with bench/first_frame_hook.cpp preloaded,
# which ends the process right after the first frame of its window has been flushed to the X
# server: the count runs from the dynamic loader's first instruction to that flush, every thread
# included. Counts do not depend on the machine's load; what moves them a little from run to
# run is the order in which X and D-Bus replies arrive (about 0.1 %).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build-bench"
runs=${RUNS:-3}
frames=""
if [[ ${1:-} == --frames ]]; then
    frames=$(mkdir -p "$2" && cd "$2" && pwd)
fi

"$root/scripts/install-deps.sh" bench
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DTARNWICK_BENCH=ON \
    >/dev/null
cmake --build "$build" -j 2 --target tarnwick bench_bare_window first_frame_hook >/dev/null
hook="$build/bench/libfirst_frame_hook.so"

# shellcheck source=bench/session.sh
source "$root/bench/session.sh"
display=$(free_display 90)
start_xvfb "$display"
export DISPLAY=":$display"
start_session_bus

first_frame() { # capture file, command...: runs the command to its first frame
    local capture=$1
    shift
    FIRST_FRAME_CAPTURE="$capture" LD_PRELOAD="$hook" "$@" 2>>"$work/programs.log"
}

if [[ -n $frames ]]; then
    first_frame "$frames/tarnwick.ppm" "$build/tarnwick"
    QT_SCALE_FACTOR=2 first_frame "$frames/tarnwick@2x.ppm" "$build/tarnwick"
    echo "First frames: $frames/tarnwick.ppm, $frames/tarnwick@2x.ppm"
    exit 0
fi

names=(tarnwick bare_window empty_qt_window)
commands=(
    "$build/tarnwick"
    "$build/bench/bench_bare_window"
    "$build/bench/bench_bare_window --empty"
)

count() { # variant index, output file: prints the instructions counted
    # shellcheck disable=SC2086 # the command is a word list on purpose
    LD_PRELOAD="$hook" valgrind --tool=callgrind --callgrind-out-file="$2" ${commands[$1]} \
        2>"$work/valgrind.log" || {
        echo "${names[$1]} failed under callgrind:" >&2
        tail -n 20 "$work/valgrind.log" >&2
        exit 1
    }
    awk '/^summary:/ { print $2 }' "$2"
}

# One run of each outside valgrind first: the font and file caches are then warm.
for ((v = 0; v < ${#names[@]}; ++v)); do
    # shellcheck disable=SC2086
    first_frame "" ${commands[$v]}
done

declare -A median
echo "Instructions from exec to the first frame, $runs callgrind runs each (display :$display):"
for ((v = 0; v < ${#names[@]}; ++v)); do
    values=()
    for ((r = 1; r <= runs; ++r)); do
        values+=("$(count "$v" "$build/callgrind.${names[$v]}.out")")
    done
    median[${names[$v]}]=$(printf '%s\n' "${values[@]}" | sort -g \
        | awk '{ a[NR] = $1 } END { print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2 }')
    printf '  %-16s %7.1f M   (runs: %s)\n' "${names[$v]}" \
        "$(awk -v n="${median[${names[$v]}]}" 'BEGIN { print n / 1e6 }')" \
        "$(printf '%s ' "${values[@]}" | awk '{ for (i = 1; i <= NF; ++i) printf "%s%.2f", (i > 1 ? " " : ""), $i / 1e6 }')"
done
floor=${median[empty_qt_window]}
echo "  ratios to the empty Qt window: tarnwick $(awk -v a="${median[tarnwick]}" -v b="$floor" \
    'BEGIN { printf "%.2f", a / b }'), bare window $(awk -v a="${median[bare_window]}" \
    -v b="$floor" 'BEGIN { printf "%.2f", a / b }') (goal for tarnwick: <= 2.00)"

# --- Where the program's instructions go (its last run) ------------------------------------
out="$build/callgrind.tarnwick.out"
total=$(awk '/^summary:/ { print $2 }' "$out")
echo
echo "Where tarnwick's go, inclusive (callgrind_annotate --inclusive=yes $out):"
callgrind_annotate --inclusive=yes --threshold=100 "$out" 2>/dev/null >"$work/inclusive.txt"
while IFS='|' read -r label function; do
    awk -v f="$function" -v label="$label" -v total="$total" '
        { line = $0; sub(/^ +/, "", line); split(line, w, " ")
          name = line; sub(/^[^ ]+ +\([^)]*\) +/, "", name); sub(/ \[.*$/, "", name)
          sub(/^[^:]*:/, "", name)
          if (name == f || index(name, f "(") == 1) { gsub(",", "", w[1]); found = w[1]; exit } }
        END { printf "  %-58s %7.1f M %5.1f %%\n", label, found / 1e6, 100 * found / total }
    ' "$work/inclusive.txt"
done <<'EOF'
dynamic linking at exec (ld.so's _dl_start)|_dl_start
relocating objects (all, plugins included)|_dl_relocate_object
QApplication and the xcb platform|QApplication::QApplication
fontconfig's set-up (FcInit)|FcInit
  of which reading configuration files|FcConfigParseAndLoad
Qt's font database from fontconfig|QFontconfigDatabase::populateFontDatabase
finding fonts for the sizes asked|QFontDatabasePrivate::findFont
  fontconfig substitution (config, per size)|FcConfigSubstitute
  fallback families|QFontconfigDatabase::fallbacksForFamily
  the font engines (FreeType faces)|QFontconfigDatabase::fontEngine
shaping the captions|QTextEngine::shapeText
  FreeType loading glyphs (to shape and to paint)|FT_Load_Glyph
the window icon (QIcon::addFile)|QIcon::addFile
reading images (PNG and JPEG, plugins included)|QImageReader::read
  PNG decoding|png_read_image
  JPEG decoding|jpeg_read_scanlines
the first paint (repaint manager)|QWidgetRepaintManager::sync
EOF

echo
echo "Self instructions by shared object:"
awk '
    # A compressed name "(n) path" is defined where it first appears, in ob= or cob=.
    /^c?ob=/ { id = $1; sub(/^c?ob=/, "", id); name = $0; sub(/^c?ob=[(][0-9]+[)] */, "", name)
               if (name != "") names[id] = name
               if ($0 ~ /^ob=/) object = id
               next }
    /^calls=/ { skipNext = 1; next }
    /^[0-9+*-]/ { if (skipNext) { skipNext = 0; next }
                  if (NF >= 2) self[object] += $2; next }
    END { for (id in self) { n = split(names[id], p, "/"); printf "%d %s\n", self[id], p[n] } }
' "$out" | sort -rn | head -n 14 | awk -v total="$total" '
    { printf "  %-40s %7.1f M %5.1f %%\n", $2, $1 / 1e6, 100 * $1 / total }'
