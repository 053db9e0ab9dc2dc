# shellcheck shell=bash
# Sourced by the benchmark scripts: a private Xvfb display and session bus, so that nothing else
# draws on the measured display and every run finds the same session. Sourcing makes `work` (a
# scratch directory) and `pids` (the servers started here); `end_session`, run on exit, ends
# those servers and removes the scratch directory.

work=$(mktemp -d)
pids=()
end_session() {
    local pid
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap end_session EXIT

free_display() { # the first display number from $1 on with no server
    local number=$1
    while [[ -e /tmp/.X$number-lock || -e /tmp/.X11-unix/X$number ]]; do
        number=$((number + 1))
    done
    echo "$number"
}

start_xvfb() { # display number
    Xvfb ":$1" -screen 0 1280x1024x24 -nolisten tcp >>"$work/xvfb.log" 2>&1 &
    pids+=($!)
    for _ in $(seq 100); do
        DISPLAY=":$1" xdpyinfo >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    echo "Xvfb :$1 did not start" >&2
    exit 1
}

# A session bus of our own, as a desktop session has one (Qt asks it for the accessibility bus;
# without any bus, libdbus would fork a dbus-launch), and a private runtime directory.
start_session_bus() {
    mkdir -m 700 "$work/runtime"
    export XDG_RUNTIME_DIR="$work/runtime"
    local address
    address=$(dbus-daemon --session --fork --print-address=1 --print-pid=3 3>"$work/bus.pid")
    pids+=("$(cat "$work/bus.pid")")
    export DBUS_SESSION_BUS_ADDRESS="$address"
    # No desktop unless a variant asks for one; no theme or style chosen from outside.
    unset XDG_CURRENT_DESKTOP DESKTOP_SESSION QT_QPA_PLATFORMTHEME QT_STYLE_OVERRIDE \
        QT_QPA_PLATFORM QT_SCALE_FACTOR
}
