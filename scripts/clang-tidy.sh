#!/usr/bin/env bash
# Runs clang-tidy, with the checks chosen in .clang-tidy, over the program's own sources in
# app/, panels/ and calculator/ (not the tests, not generated code). Fails when it warns about
# any of our files, headers included.
#   scripts/clang-tidy.sh [build-dir]   a build with compile_commands.json (default: build/,
#                                       configured here when it has none)
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$root/build}"

"$root/scripts/install-deps.sh" tidy

if [[ ! -f "$build/compile_commands.json" ]]; then
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF
fi
build="$(cd "$build" && pwd)"

mapfile -t sources < <(cd "$root" && find app panels calculator -name '*.cpp' | sort)
for source in "${sources[@]}"; do
    if ! grep -qF "\"file\": \"$root/$source\"" "$build/compile_commands.json"; then
        echo "$source is not in $build/compile_commands.json: configure that build with the" \
            "window on (TARNWICK_GUI=ON)." >&2
        exit 1
    fi
done

logs="$(mktemp -d)"
trap 'rm -rf "$logs"' EXIT
echo "clang-tidy $(clang-tidy --version | grep -o 'version [0-9.]*'), ${#sources[@]} files"
# shellcheck disable=SC2016 # the quoted command is expanded by the shell that xargs starts
printf '%s\n' "${sources[@]}" | xargs -P 2 -I {} sh -c \
    'clang-tidy -p "$1" --quiet "$2/$3" >"$4/$(echo "$3" | tr / _).log" 2>&1 || true' \
    sh "$build" "$root" {} "$logs"

# Our findings: those in files of the repository, not in the build's generated files.
root_pattern=$(printf '%s' "$root" | sed 's/[][\\.*^$+?(){}|]/\\&/g')
pattern="^$root_pattern/(app|panels|calculator|tests)/[^:]*:[0-9]+:[0-9]+: (warning|error):"
if cat "$logs"/*.log | grep -Eq "$pattern"; then
    for log in "$logs"/*.log; do
        if grep -Eq "$pattern" "$log"; then
            cat "$log"
        fi
    done
    count=$(cat "$logs"/*.log | grep -Ec "$pattern")
    echo "clang-tidy: $count findings in our files." >&2
    exit 1
fi
if cat "$logs"/*.log | grep -Eq '(warning|error):'; then
    # Nothing of ours, but clang-tidy could not read a file cleanly: show why.
    cat "$logs"/*.log >&2
    echo "clang-tidy: problems outside our files (above); fix the build first." >&2
    exit 1
fi
echo "clang-tidy: no findings."
