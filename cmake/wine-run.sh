#!/usr/bin/env bash
# Runs a Windows program under Wine for CTest: cmake/wine-run.sh WINE PROGRAM [ARGUMENTS...]
# Now and then Wine fails to start a program at all: it ends at once, unsuccessfully, before the
# program printed a line. Such a start is tried once more, and a line says so. A program that
# printed anything has run, and its result stands: it is never run again.
set -uo pipefail

wine=$1
shift
printed=$(mktemp)
trap 'rm -f "$printed"' EXIT
"$wine" "$@" | tee "$printed"
status=${PIPESTATUS[0]}
if [[ $status -ne 0 && ! -s $printed ]]; then
    echo "Wine did not start ${1##*/} (status $status, nothing printed): starting it once more"
    "$wine" "$@"
    status=$?
fi
exit "$status"
