#!/usr/bin/env bash
# Proves the README's commands on a machine with nothing installed. A fresh Debian 12 minimal
# root (debootstrap --variant=minbase, Debian's default mirror) gets a clone of this repository's
# committed HEAD and runs the README's test command, ./test.sh, under chroot with a clean
# environment and no display. Then, in the same root, scripts/package-deb.sh builds the .deb,
# installs it with apt and starts and stops the installed program. Last, the .deb alone goes
# into a second fresh minimal root, so that its declared dependencies are all it gets.
#
# The minimal root is made once and kept as a tarball in ${XDG_CACHE_HOME:-~/.cache}/tarnwick/,
# beside the .debs that apt downloads in the roots (bind-mounted as their
# /var/cache/apt/archives, so a later run downloads nothing again). Every run unpacks the root
# afresh, clones afresh and installs afresh. Needs root, for debootstrap, mount and chroot.
#   scripts/test-bare-debian.sh
set -euo pipefail

self="$(realpath "${BASH_SOURCE[0]}")"
repo="$(cd "$(dirname "$self")/.." && pwd)"
cache="${XDG_CACHE_HOME:-$HOME/.cache}/tarnwick"
base="$cache/debian-12-minbase.tar.gz"
archives="$cache/debian-12-apt-archives"
path=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin

# Runs a command under chroot in ROOT with /proc, /sys and /dev mounted. Called through
# unshare: the mounts live in a mount namespace of their own, and a PID namespace ends every
# process the command left behind, so nothing outlives the call even if it is killed. The trap
# unmounts all the same, innermost first.
if [[ ${1:-} == --chroot ]]; then
    root=$2
    command=$3
    mounted=()
    unmount_all() {
        local i
        for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
            umount "${mounted[i]}" || umount -l "${mounted[i]}"
        done
    }
    trap unmount_all EXIT
    mount_at() { # TARGET MOUNT-ARGUMENTS...
        mount "${@:2}" "$1"
        mounted+=("$1")
    }
    mount_at "$root/proc" -t proc proc
    mount_at "$root/sys" -t sysfs sysfs
    mount_at "$root/dev" --bind /dev
    mount_at "$root/dev/pts" --bind /dev/pts
    mkdir -p "$archives/partial"
    mount_at "$root/var/cache/apt/archives" --bind "$archives"
    status=0
    env -i HOME=/root PATH="$path" TERM="${TERM:-dumb}" LANG=C.UTF-8 \
        chroot "$root" /bin/bash -c "$command" || status=$?
    exit "$status"
fi

if [[ $(id -u) -ne 0 ]]; then
    echo "This script needs root (debootstrap, mount, chroot)." >&2
    exit 1
fi
if [[ -n $(git -C "$repo" status --porcelain --untracked-files=no) ]]; then
    echo "Note: uncommitted changes are not tested; the root gets the committed HEAD."
fi

"$repo/scripts/install-deps.sh" bare
mkdir -p "$cache" "$archives"
work="$(mktemp -d "${TMPDIR:-/tmp}/tarnwick-bare.XXXXXX")"

# Removes the work folder only when nothing is mounted below it (the namespaces see to that),
# and never across a file system boundary.
cleanup() {
    if findmnt -rn -o TARGET | grep -qF "$work"; then
        echo "Something is still mounted below $work: left in place." >&2
        return
    fi
    rm -rf --one-file-system "$work"
}
trap cleanup EXIT

in_root() {
    unshare --mount --propagation private --pid --fork -- "$self" --chroot "$@"
}

started=$SECONDS
if [[ ! -f $base ]]; then
    echo "== Making a Debian 12 minimal root (once; cached in $base)"
    mkdir "$work/debootstrap"
    unshare --mount --propagation private --pid --fork -- \
        debootstrap --variant=minbase bookworm "$work/debootstrap"
    tar --numeric-owner -C "$work/debootstrap" -czf "$base.partial" .
    mv "$base.partial" "$base"
    rm -rf --one-file-system "$work/debootstrap"
    echo "== Minimal root made in $((SECONDS - started)) s"
fi

fresh_root() {
    mkdir "$1"
    tar --numeric-owner -C "$1" -xzf "$base"
    cp /etc/resolv.conf "$1/etc/resolv.conf"
}

root="$work/root"
fresh_root "$root"
git clone --quiet "$repo" "$root/root/tarnwick"
echo "== In a fresh minimal root: ./test.sh ($(git -C "$root/root/tarnwick" log -1 --format=%h))"
for tool in make cmake g++ qmake6 fc-list; do
    if [[ -e $root/usr/bin/$tool ]]; then
        echo "the minimal root already has $tool: it is not bare" >&2
        exit 1
    fi
done
step=$SECONDS
in_root "$root" "cd /root/tarnwick && ./test.sh"
echo "== ./test.sh passed in $((SECONDS - step)) s"

step=$SECONDS
in_root "$root" "cd /root/tarnwick && scripts/package-deb.sh"
echo "== The package built, installed and ran in $((SECONDS - step)) s"

# The .deb alone in a second fresh root: what it declares must be enough to start it.
step=$SECONDS
clean="$work/clean"
fresh_root "$clean"
cp "$root"/root/tarnwick/build-deb/tarnwick_*.deb "$clean/root/"
cp "$repo/tests/window/quit_on_signal.sh" "$clean/root/"
in_root "$clean" "apt-get update -q && DEBIAN_FRONTEND=noninteractive apt-get install -y -q \
    /root/tarnwick_*.deb && QT_QPA_PLATFORM=offscreen bash /root/quit_on_signal.sh \
    /usr/bin/tarnwick TERM"
echo "== The .deb alone installed and ran in a fresh root in $((SECONDS - step)) s"
echo "== All done in $((SECONDS - started)) s"
