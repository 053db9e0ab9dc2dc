#!/usr/bin/env bash
# Runs clang-tidy, with the checks chosen in .clang-tidy, over the program's own sources in
# app/, panels/ and calculator/ (not the tests, not generated code): the Windows window's
# (app/win32/) as the MinGW-w64 cross build compiles them, the rest as the Linux build does.
# Fails when it warns about any of our files, headers included.
#   scripts/clang-tidy.sh [build-dir]   a Linux build with compile_commands.json (default: build/,
#                                       configured here when it has none); the cross build's is
#                                       configured in build-tidy-windows/
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$root/build}"

"$root/scripts/install-deps.sh" tidy

if [[ ! -f "$build/compile_commands.json" ]]; then
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF
fi
build="$(cd "$build" && pwd)"
windows_build="$root/build-tidy-windows"
if [[ ! -f "$windows_build/compile_commands.json" ]]; then
    cmake -S "$root" -B "$windows_build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
fi
# clang reads the cross build's commands as MinGW-w64's g++ would, with its C++ library.
gcc_include=$(x86_64-w64-mingw32-g++-posix -print-file-name=include)
windows_args=(--extra-arg=--target=x86_64-w64-mingw32
    "--extra-arg=-isystem$gcc_include/c++" "--extra-arg=-isystem$gcc_include/c++/x86_64-w64-mingw32")

mapfile -t sources < <(cd "$root" && find app panels calculator -name '*.cpp' | sort)
for source in "${sources[@]}"; do
    from=$build
    [[ $source != app/win32/* ]] || from=$windows_build
    if ! grep -qF "\"file\": \"$root/$source\"" "$from/compile_commands.json"; then
        echo "$source is not in $from/compile_commands.json: configure that build with the" \
            "window on (TARNWICK_GUI=ON)." >&2
        exit 1
    fi
done

logs="$(mktemp -d)"
trap 'rm -rf "$logs"' EXIT
echo "clang-tidy $(clang-tidy --version | grep -o 'version [0-9.]*'), ${#sources[@]} files"
tidy() { # source
    local log
    log="$logs/$(echo "$1" | tr / _).log"
    if [[ $1 == app/win32/* ]]; then
        clang-tidy -p "$windows_build" "${windows_args[@]}" --quiet "$root/$1" >"$log" 2>&1 || true
    else
        clang-tidy -p "$build" --quiet "$root/$1" >"$log" 2>&1 || true
    fi
}
export -f tidy
export build windows_build root logs
export windows_args_text="${windows_args[*]}"
printf '%s\n' "${sources[@]}" | xargs -P 2 -I {} bash -c \
    'windows_args=($windows_args_text); tidy "$1"' bash {}

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
