#!/usr/bin/env bash
# Runs ./test of the committed tree on a fresh Debian 12, the way a new machine gets it: a copy of
# a pristine `debootstrap --variant=minbase bookworm`, entered with chroot, where only what ./test
# installs itself is present. Needs root and Debian's package mirror.
#   scripts/check-fresh-test.sh [FOLDER]     (default: /var/tmp/ymt-fresh-test)
# YMT_FRESH_CCACHE=1 lends the host's compiler cache to the build (the packages stay fresh).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
target="${1:-/var/tmp/ymt-fresh-test}"
pristine=/var/tmp/ymt-bookworm-minbase
mirror="${YMT_DEBIAN_MIRROR:-http://deb.debian.org/debian}"

[ "$(id -u)" -eq 0 ] || { echo "check-fresh-test.sh: run as root (debootstrap, chroot)" >&2; exit 2; }
command -v debootstrap >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y -qq debootstrap
if [ ! -x "$pristine/usr/bin/apt-get" ]; then
  echo "debootstrap bookworm into $pristine"
  debootstrap --variant=minbase bookworm "$pristine" "$mirror" >/dev/null
fi

mounted=()
cleanup() { for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount -l "${mounted[i]}" || true; done; }
trap cleanup EXIT
rm -rf "$target"
cp -a "$pristine" "$target"
for m in proc sys dev dev/pts dev/shm; do
  mount --bind "/$m" "$target/$m"
  mounted+=("$target/$m")
done
cp /etc/resolv.conf "$target/etc/resolv.conf"
mkdir -p "$target/root/src"
git -C "$root" archive HEAD | tar -x -C "$target/root/src"
cache=()
if [ "${YMT_FRESH_CCACHE:-0}" = 1 ]; then
  mkdir -p "$target/root/.cache/ccache" "$HOME/.cache/ccache"
  mount --bind "$HOME/.cache/ccache" "$target/root/.cache/ccache"
  mounted+=("$target/root/.cache/ccache")
fi
chroot "$target" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 \
  bash -c 'cd /root/src && ./test'
echo "fresh Debian 12: ./test passed"
