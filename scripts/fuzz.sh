#!/usr/bin/env bash
# Builds the rules' fuzz targets with clang's libFuzzer into build-fuzz/ and runs each one for
# a while, starting from a copy of its seed files. Fails when any target finds a fault; the
# input that showed it is kept in build-fuzz/findings/.
#   scripts/fuzz.sh [seconds]     seconds per target, 20 unless given
set -euo pipefail

seconds="${1:-20}"
if [[ ! "$seconds" =~ ^[1-9][0-9]*$ ]]; then
    echo "usage: $0 [seconds per target]" >&2
    exit 2
fi

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build-fuzz"
targets=(fuzz_read_number fuzz_show_weight fuzz_calculate)

"$root/scripts/install-deps.sh" fuzz

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DTARNWICK_GUI=OFF -DTARNWICK_FUZZ=ON -DBUILD_TESTING=OFF
cmake --build "$build" -j 2 --target "${targets[@]}"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
findings="$build/findings"
mkdir -p "$findings"

failed=()
for target in "${targets[@]}"; do
    # The fuzzer adds what it finds to the corpus it is given: a copy keeps the seeds as they are.
    cp -R "$root/tests/fuzz/corpus/$target" "$work/$target"
    echo "== $target: ${seconds}s"
    if ! "$build/tests/fuzz/$target" -max_total_time="$seconds" -max_len=2048 -timeout=10 \
        -rss_limit_mb=1024 -print_final_stats=1 -artifact_prefix="$findings/$target-" \
        "$work/$target" 2>"$work/$target.log"; then
        failed+=("$target")
        tail -n 60 "$work/$target.log" >&2
    else
        grep -E '^(Done|stat::number_of_executed_units)' "$work/$target.log" || true
    fi
done

if [[ ${#failed[@]} -gt 0 ]]; then
    echo "Fuzzing found faults in: ${failed[*]} (inputs kept in build-fuzz/findings/)" >&2
    exit 1
fi
echo "Fuzzing found no faults (${#targets[@]} targets, ${seconds}s each)."
