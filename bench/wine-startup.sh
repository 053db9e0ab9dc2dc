#!/usr/bin/env bash
# Start-up of Tarnwick.exe under Wine, side by side with Wine's own notepad (a native Win32
# window like it), on a private Xvfb display with one Wine server already running. Where Wine's
# 32-bit side is installed (scripts/install-deps.sh wine32), the 32-bit Tarnwick.exe too, in the
# same prefix, as a 32-bit program runs on 64-bit Windows.
#
#   bench/wine-startup.sh [BUILD_DIR]    RUNS=15 rounds (the default); BUILD_DIR defaults to
#                                        build-windows-app, where scripts/build-windows.sh builds
#                                        (the 32-bit program in BUILD_DIR-x86)
#
# Each run is timed by launch_probe (bench/launch_probe.cpp): from the spawn of `wine PROGRAM` to
# the program's top-level X window mapped, and to its first complete frame. Every variant runs
# once to warm the caches, then RUNS rounds in an order that rotates from round to round.
# Memory under Wine says nothing about Windows and is not reported.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build-windows-app}
build=$(cd "$build" && pwd)
runs=${RUNS:-15}
[[ -f $build/CMakeCache.txt ]] || {
    echo "no Windows build in $build: run scripts/build-windows.sh first" >&2
    exit 1
}

"$root/scripts/install-deps.sh" bench windows-app
# shellcheck source=scripts/wine-env.sh
source "$root/scripts/wine-env.sh"
x86=false
# An emulated 32-bit side (wine32_side) would time the emulator: only where the kernel runs it.
if wine32_side && [[ $wine32_how == native && -f $build-x86/CMakeCache.txt ]]; then
    x86=true
fi
# The Windows programs, and the probe, which is a Linux program.
cmake --build "$build" -j 2 --target tarnwick >/dev/null
[[ $x86 == false ]] || cmake --build "$build-x86" -j 2 --target tarnwick >/dev/null
linux_build="$root/build-bench"
cmake -S "$root" -B "$linux_build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
    -DTARNWICK_BENCH=ON >/dev/null
cmake --build "$linux_build" -j 2 --target launch_probe >/dev/null
probe="$linux_build/bench/launch_probe"

# shellcheck source=bench/session.sh
source "$root/bench/session.sh"
display=$(free_display 90)
start_xvfb "$display"
export DISPLAY=":$display"

wine_prefix "$build"
wine_managed Y
# A blinking caret draws every half second, so a window with a focused field (notepad's, the
# program's Text1) might never settle: the caret is kept from blinking while measuring, as
# Windows' own setting for that does, and the prefix's default restored afterwards.
finish() {
    "$wine" reg delete 'HKCU\Control Panel\Desktop' /v CursorBlinkRate /f >/dev/null 2>&1 || true
    "$wineserver" --kill 2>/dev/null || true
    end_session
}
trap finish EXIT
"$wine" reg add 'HKCU\Control Panel\Desktop' /v CursorBlinkRate /t REG_SZ /d -1 /f >/dev/null
wine_server_restart

names=(notepad tarnwick)
commands=("$wine notepad" "$wine $build/Tarnwick.exe")
if [[ $x86 == true ]]; then
    # Debian's wine starts the 32-bit loader.
    names+=(tarnwick_x86)
    commands+=("$(command -v wine) $build-x86/Tarnwick.exe")
else
    echo "Without Wine's 32-bit side run by the kernel (wine32:i386) or a 32-bit build in" \
        "$build-x86: the 64-bit program only."
fi
count=${#names[@]}
results="$build/wine-startup-runs.tsv"
printf 'round\tvariant\tmap_ms\tframe_ms\n' >"$results"

measure() { # round, variant index
    local line
    # shellcheck disable=SC2086 # the command is a word list on purpose
    if ! line=$("$probe" --timeout-ms 30000 -- ${commands[$2]} 2>>"$work/programs.log"); then
        echo "launch_probe failed on ${names[$2]}; the programs' output ends:" >&2
        tail -n 20 "$work/programs.log" >&2
        exit 1
    fi
    awk -v round="$1" -v name="${names[$2]}" '{
        for (i = 1; i <= NF; ++i) { split($i, kv, "="); v[kv[1]] = kv[2] }
        printf "%s\t%s\t%s\t%s\n", round, name, v["map_ms"], v["frame_ms"]
    }' <<<"$line"
    # Wine ends the Windows process on SIGTERM; let the server forget it before the next run.
    sleep 0.3
}

echo "Warming up, then $runs rounds of $count variants under Wine on display :$display ..."
for ((v = 0; v < count; ++v)); do
    measure warmup "$v" >/dev/null
done
for ((r = 1; r <= runs; ++r)); do
    for ((k = 0; k < count; ++k)); do
        measure "$r" $(((r + k) % count)) >>"$results"
    done
done

echo
echo "Medians over $runs interleaved runs under $("$wine" --version) (Xvfb, no window manager):"
echo
echo "| variant         | mapped ms | 1st frame ms |"
echo "|-----------------|----------:|-------------:|"
for name in "${names[@]}"; do
    awk -F'\t' -v name="$name" '
        $2 == name { m[++n] = $3; f[n] = $4 }
        function median(a, n,   i, j, t) {
            for (i = 2; i <= n; ++i) for (j = i; j > 1 && a[j - 1] > a[j]; --j) {
                t = a[j]; a[j] = a[j - 1]; a[j - 1] = t }
            return (n % 2) ? a[(n + 1) / 2] : (a[n / 2] + a[n / 2 + 1]) / 2
        }
        END { printf "| %-15s | %9.1f | %12.1f |\n", name, median(m, n), median(f, n) }
    ' "$results"
done

ratio() { # variant, against, column: the median of the ratios within each round
    awk -F'\t' -v a="$1" -v b="$2" -v c="$3" '
        NR > 1 { v[$1, $2] = $c; rounds[$1] = 1 }
        END {
            for (r in rounds) if (((r, a) in v) && ((r, b) in v) && v[r, b] > 0)
                x[++n] = v[r, a] / v[r, b]
            for (i = 2; i <= n; ++i) for (j = i; j > 1 && x[j - 1] > x[j]; --j) {
                t = x[j]; x[j] = x[j - 1]; x[j - 1] = t }
            printf "%.2f", (n % 2) ? x[(n + 1) / 2] : (x[n / 2] + x[n / 2 + 1]) / 2
        }' "$results"
}
echo
echo "Medians of the ratios within each round:"
for name in "${names[@]:1}"; do
    printf '  %-12s / notepad (goal for mapped <= 1.00): mapped %s, first frame %s\n' "$name" \
        "$(ratio "$name" notepad 3)" "$(ratio "$name" notepad 4)"
done
echo "Per-run numbers: $results"
