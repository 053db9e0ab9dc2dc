#!/usr/bin/env bash
# Start-up, memory and keystroke benchmarks of the program, side by side with xcalc and with a
# bare Qt window holding the same controls (bench_bare_window).
#
#   bench/startup.sh            RUNS=20 rounds (the default)
#   RUNS=40 bench/startup.sh    more rounds
#   BEFORE=OLD/tarnwick bench/startup.sh   also an earlier build of the program, side by side
#
# What it does:
# 1. Installs what is missing (Debian packages, with apt-get) and builds Release into
#    build-bench/ at the top of the repository.
# 2. Starts a private Xvfb display (no window manager, so nothing else draws) with a private
#    session bus, as a desktop session has one.
# 3. Runs every variant once to warm the file cache, then RUNS rounds; in each round every
#    variant runs once, in an order that rotates from round to round. Each run is timed by
#    launch_probe (bench/launch_probe.cpp says how): from exec to the window mapped, from exec
#    to its first complete frame, and Rss and private memory (Private_Clean + Private_Dirty)
#    one second after exec.
# 4. Prints the medians and the ratios against the goals, the shared objects the program has
#    mapped once it is up, and the keystroke benchmark's result.
#
# empty_qt_window is the same Qt window without its controls: the floor that Qt itself sets.
# The GNOME rows run with XDG_CURRENT_DESKTOP=GNOME, where Qt would pick its GTK 3 platform
# theme: the bare window loads it, the program declines it (see app/qt/main.cpp).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build-bench"
runs=${RUNS:-20}

# --- 1. What is needed, and the build ------------------------------------------------------
"$root/scripts/install-deps.sh" bench

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DTARNWICK_BENCH=ON \
    >/dev/null
cmake --build "$build" -j 2 --target tarnwick bench_bare_window bench_keystroke \
    launch_probe >/dev/null

# --- 2. A display and a session of our own ------------------------------------------------
# shellcheck source=bench/session.sh
source "$root/bench/session.sh"
companion="" # the companion program while it runs
# shellcheck disable=SC2086 # empty or one pid
trap 'kill $companion 2>/dev/null || true; end_session' EXIT
display=$(free_display 90)
start_xvfb "$display"
export DISPLAY=":$display"
# A second display for the companion (below), so that nothing else draws on the measured one.
companion_display=$(free_display $((display + 1)))
start_xvfb "$companion_display"

start_session_bus

# --- 3. The runs --------------------------------------------------------------------------
names=(tarnwick xcalc bare_window empty_qt_window tarnwick@GNOME bare_window@GNOME)
commands=(
    "$build/tarnwick"
    "xcalc"
    "$build/bench/bench_bare_window"
    "$build/bench/bench_bare_window --empty"
    "env XDG_CURRENT_DESKTOP=GNOME $build/tarnwick"
    "env XDG_CURRENT_DESKTOP=GNOME $build/bench/bench_bare_window"
)
# BEFORE=path/to/an/earlier/tarnwick adds that build, to compare a change side by side.
if [[ -n ${BEFORE:-} ]]; then
    names+=(tarnwick_before)
    commands+=("$BEFORE")
fi
count=${#names[@]}
results="$build/startup-runs.tsv"
printf 'round\tvariant\tmap_ms\tframe_ms\trss_kib\tprivate_kib\tprivate_dirty_kib\tqt_shared_kib\n' \
    >"$results"

measure() { # round index
    local line
    # shellcheck disable=SC2086 # the command is a word list on purpose
    if ! line=$("$build/bench/launch_probe" -- ${commands[$2]} 2>>"$work/programs.log"); then
        echo "launch_probe failed on ${names[$2]}; the programs' output ends:" >&2
        tail -n 20 "$work/programs.log" >&2
        exit 1
    fi
    # map_ms=… frame_ms=… rss_kib=… private_kib=… private_dirty_kib=… qt_shared_kib=… …
    awk -v round="$1" -v name="${names[$2]}" '{
        for (i = 1; i <= NF; ++i) { split($i, kv, "="); v[kv[1]] = kv[2] }
        printf "%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\n", round, name, v["map_ms"], v["frame_ms"],
            v["rss_kib"], v["private_kib"], v["private_dirty_kib"], v["qt_shared_kib"]
    }' <<<"$line"
}

echo "Warming up, then $runs rounds of ${count} variants on display :$display ..."
for ((v = 0; v < count; ++v)); do
    measure warmup "$v" >/dev/null
done
# Private memory depends on what else runs: library pages that another process also maps are
# shared, not private. So every other round runs beside a companion Qt program (the bare
# window on the second display), and each run records whether Qt's pages were shared
# (qt_shared_kib > 0), whether by the companion or by any other Qt program on the machine.
for ((r = 1; r <= runs; ++r)); do
    if ((r % 2 == 0)); then
        DISPLAY=":$companion_display" "$build/bench/bench_bare_window" 2>>"$work/programs.log" &
        companion=$!
        sleep 1
    fi
    for ((k = 0; k < count; ++k)); do
        measure "$r" $(((r + k) % count)) >>"$results"
    done
    if [[ -n "$companion" ]]; then
        kill "$companion"
        wait "$companion" 2>/dev/null || true
        companion=""
    fi
done

# --- 4. The report ------------------------------------------------------------------------
median() { # variant column [alone|beside: only the runs where Qt was not / was shared]
    awk -F'\t' -v name="$1" -v col="$2" -v only="${3:-}" 'NR > 1 && $2 == name \
        && (only == "" || (only == "alone") == ($8 == 0)) { print $col }' "$results" \
        | sort -g | awk '{ a[NR] = $1 } END {
            if (NR == 0) { print "nan"; exit }
            if (NR % 2) print a[(NR + 1) / 2]; else print (a[NR / 2] + a[NR / 2 + 1]) / 2 }'
}

declare -A map frame rss private beside dirty
for name in "${names[@]}"; do
    map[$name]=$(median "$name" 3)
    frame[$name]=$(median "$name" 4)
    rss[$name]=$(median "$name" 5 alone)
    private[$name]=$(median "$name" 6 alone)
    beside[$name]=$(median "$name" 6 beside)
    dirty[$name]=$(median "$name" 7)
done

echo
echo "Medians over $runs interleaved runs (Xvfb, no window manager; memory 1 s after exec)."
echo "Private = Private_Clean + Private_Dirty, as the only Qt program running (alone) and beside"
echo "another one (beside Qt); private dirty = Private_Dirty by itself, alike in both cases."
echo
printf '| %-18s | %9s | %12s | %7s | %13s | %17s | %13s |\n' variant "mapped ms" \
    "1st frame ms" "RSS MiB" "private MiB" "private MiB" "private dirty"
printf '| %-18s | %9s | %12s | %7s | %13s | %17s | %13s |\n' "" "" "" "" "(alone)" \
    "(beside Qt)" "MiB"
printf '|%s|%s|%s|%s|%s|%s|%s|\n' "--------------------" "----------:" "-------------:" \
    "--------:" "--------------:" "------------------:" "--------------:"
for name in "${names[@]}"; do
    awk -v n="$name" -v m="${map[$name]}" -v f="${frame[$name]}" -v r="${rss[$name]}" \
        -v p="${private[$name]}" -v b="${beside[$name]}" -v d="${dirty[$name]}" '
        function mib(kib) { return kib == "nan" ? "-" : sprintf("%.2f", kib / 1024) }
        BEGIN {
            printf "| %-18s | %9.1f | %12.1f | %7s | %13s | %17s | %13s |\n", n, m, f,
                mib(r), mib(p), (n == "xcalc" ? "-" : mib(b)), mib(d) }'
done

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
# Start-up ratios are taken within each round (its runs are seconds apart and share the state
# of the machine), and the median of those is shown: steadier than a ratio of the medians.
paired() { # variant variant column
    awk -F'\t' -v a="$1" -v b="$2" -v col="$3" 'NR > 1 {
            if ($2 == a) x[$1] = $col
            if ($2 == b) y[$1] = $col
        }
        END { for (r in x) if ((r in y) && y[r] > 0) print x[r] / y[r] }' "$results" \
        | sort -g | awk '{ a[NR] = $1 } END {
            if (NR == 0) { print "nan"; exit }
            printf "%.2f", (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2 }'
}
both() { # variant variant: "mapped R, first frame R"
    echo "mapped $(paired "$1" "$2" 3), first frame $(paired "$1" "$2" 4)"
}
echo
echo "Against the goals (medians of the ratios within each round):"
echo "  tarnwick / xcalc (goal <= 1.00):             $(both tarnwick xcalc)"
echo "  tarnwick / bare window (goal <= 1.10):       $(both tarnwick bare_window)"
echo "  where the time goes: empty Qt window / xcalc $(both empty_qt_window xcalc);"
echo "                       bare window / empty     $(both bare_window empty_qt_window)"
echo "  private memory (goal <= 8 MiB):              alone $(ratio "${private[tarnwick]}" 1024)" \
    "MiB, beside Qt $(ratio "${beside[tarnwick]}" 1024) MiB, dirty $(ratio \
        "${dirty[tarnwick]}" 1024) MiB (bare window: $(ratio "${private[bare_window]}" 1024)," \
    "$(ratio "${beside[bare_window]}" 1024), $(ratio "${dirty[bare_window]}" 1024) MiB)"
echo "  GNOME (GTK 3 theme) / no desktop:            $(both tarnwick@GNOME tarnwick); private" \
    "+$(awk -v a="${private[tarnwick@GNOME]}" -v b="${private[tarnwick]}" \
        'BEGIN { printf "%.1f", (a - b) / 1024 }') MiB, dirty +$(awk \
        -v a="${dirty[tarnwick@GNOME]}" -v b="${dirty[tarnwick]}" \
        'BEGIN { printf "%.1f", (a - b) / 1024 }') MiB"
echo "  bare window, GNOME / no desktop:            $(both bare_window@GNOME bare_window)"
echo
echo "Per-run numbers: $results"

# What the running program has mapped, one second after it started.
echo
echo "Shared objects mapped by tarnwick once it is up:"
"$build/tarnwick" 2>/dev/null &
program_pid=$!
sleep 1.5
awk '$6 ~ /\.so/ { n = split($6, p, "/"); print p[n] }' "/proc/$program_pid/maps" | sort -u \
    | tr '\n' ' ' | fold -s -w 100
echo
kill "$program_pid"
wait "$program_pid" 2>/dev/null || true

# --- The keystroke benchmark ---------------------------------------------------------------
echo
echo "Keystroke in Text1 (cascade to Label32) against a bare QLineEdit, same display:"
"$build/bench/bench_keystroke" 2>>"$work/programs.log"
