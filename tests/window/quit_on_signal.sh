#!/usr/bin/env bash
# Starts the program without a display, waits until its window is shown (the program catches
# the termination signals only after that, as /proc shows), sends the signal and expects the
# program to end by itself with status 0. One start per signal.
#   tests/window/quit_on_signal.sh PROGRAM [TERM|INT|HUP]...    (default: all three)
set -uo pipefail
program=$1
shift
signals=("$@")
[[ $# -gt 0 ]] || signals=(TERM INT HUP)
export QT_QPA_PLATFORM=offscreen
# Job control: a background job of a script would otherwise start with SIGINT ignored.
set -m

declare -A number=([HUP]=1 [INT]=2 [TERM]=15)

# Whether the signal is set in the mask of the named line (SigCgt, SigIgn) of /proc/PID/status.
in_mask() { # PID LINE SIGNAL
    local mask
    mask=$(awk -v line="$2:" '$1 == line { print $2 }' "/proc/$1/status" 2>/dev/null) || return 1
    [[ -n $mask ]] && (((0x$mask >> (${number[$3]} - 1)) & 1))
}

failed=0
for signal in "${signals[@]}"; do
    # A signal this shell was started with ignored reaches the program ignored too, and the
    # program rightly leaves it so (nohup): nothing to test then.
    if in_mask $$ SigIgn "$signal"; then
        echo "SIG$signal: ignored by whoever started this test, skipped"
        continue
    fi
    "$program" &
    pid=$!
    for ((tries = 0; tries < 600; tries++)); do
        in_mask "$pid" SigCgt "$signal" && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if ! in_mask "$pid" SigCgt "$signal"; then
        echo "SIG$signal: the program did not come up to catch it within a minute" >&2
        kill -KILL "$pid" 2>/dev/null
        wait "$pid"
        failed=1
        continue
    fi
    kill -s "$signal" "$pid"
    # Given a minute to close; then it counts as hung.
    (sleep 60 && kill -KILL "$pid" 2>/dev/null) &
    watchdog=$!
    wait "$pid"
    status=$?
    kill -- -"$watchdog" 2>/dev/null
    wait "$watchdog" 2>/dev/null
    if [[ $status -eq 0 ]]; then
        echo "SIG$signal: quit with status 0"
    else
        echo "SIG$signal: the program ended with status $status, expected 0" >&2
        failed=1
    fi
done
exit "$failed"
