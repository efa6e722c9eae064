#!/usr/bin/env bash
# Installs the Debian package on a fresh Debian 12 (a debootstrap folder, entered with chroot),
# starts the installed program there without a display, removes the package and checks that
# nothing of it is left. Needs root and Debian's package mirror; takes a few minutes.
#   scripts/check-fresh-install.sh [FOLDER]     (default: /var/tmp/ymt-fresh-bookworm)
set -euo pipefail
export LC_ALL=C # one sort order for every list that comm compares
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
target="${1:-/var/tmp/ymt-fresh-bookworm}"
mirror="${YMT_DEBIAN_MIRROR:-http://deb.debian.org/debian}"

[ "$(id -u)" -eq 0 ] || { echo "check-fresh-install.sh: run as root (debootstrap, chroot)" >&2; exit 2; }
command -v debootstrap >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y -qq debootstrap

# The package from the current build.
"$root/scripts/setup.sh" >/dev/null
(cd "$root/build" && rm -f zelvanor-ymt_*.deb && cpack -G DEB >/dev/null)
deb="$(ls "$root"/build/zelvanor-ymt_*.deb)"

if [ ! -x "$target/usr/bin/apt-get" ]; then
  echo "debootstrap bookworm into $target"
  debootstrap --variant=minbase bookworm "$target" "$mirror" >/dev/null
fi
mounted=()
cleanup() { for m in "${mounted[@]}"; do umount -l "$m" || true; done; }
trap cleanup EXIT
for m in proc sys dev; do
  mount --bind "/$m" "$target/$m"
  mounted+=("$target/$m")
done
cp "$deb" "$target/tmp/"
in_chroot() { chroot "$target" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root "$@"; }

# Every file of the system outside the folders that change anyway (package lists and caches,
# logs, the package database, the scratch folders with the demo's home): a file that the
# package or the program leaves anywhere else shows up in the comparison after the purge.
all_files() {
  in_chroot find / -xdev \( -path /proc -o -path /sys -o -path /dev -o -path /run -o -path /tmp \
    -o -path /var/tmp -o -path /var/cache -o -path /var/log -o -path /var/lib/apt \
    -o -path /var/lib/dpkg -o -path /var/lib/ucf -o -path /root \) -prune -o -print | sort
}

# The fresh system knows only what debootstrap put there; apt resolves the rest.
in_chroot apt-get update -qq
before="$(in_chroot dpkg-query -W -f='${Package}\n' | sort)"
files_before="$(all_files)"
in_chroot env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "/tmp/$(basename "$deb")" >/dev/null
echo "installed: $(in_chroot dpkg-query -W -f='${Package} ${Version}' zelvanor-ymt)"
# Installing the dependencies (dbus, for one) creates system files of their own (machine-id,
# shadow backups) that stay after they are purged: what the package itself brought is its file
# list, and whatever the program adds appears after this point.
files_installed="$(all_files)"
package_files="$(in_chroot dpkg-query -L zelvanor-ymt | sort)"

in_chroot zelvanor-ymt --help | head -n 3
# As root, so /usr/bin is writable: the installed program must still keep its files in the
# user's data folder.
in_chroot env QT_QPA_PLATFORM=offscreen HOME=/tmp/ymt-home zelvanor-ymt --demo
in_chroot test -f /tmp/ymt-home/.local/share/zelvanor-ymt/QC.txt
in_chroot test -f /usr/share/applications/zelvanor-ymt.desktop
in_chroot test -f /usr/share/zelvanor-ymt/English.lng

in_chroot env DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq --autoremove zelvanor-ymt >/dev/null
after="$(in_chroot dpkg-query -W -f='${Package}\n' | sort)"
files_after="$(all_files)"
# Left behind: what is new since before the installation, apart from what the dependencies made
# at installation (new then, and not one of the package's own paths).
dependency_made="$(comm -13 <(echo "$files_before") <(echo "$files_installed") |
                   comm -23 - <(echo "$package_files"))"
left="$(comm -13 <(echo "$files_before") <(echo "$files_after") | comm -23 - <(echo "$dependency_made"))"
if [ -n "$left" ] || [ "$before" != "$after" ]; then
  echo "left behind after purge:" >&2
  echo "$left" >&2
  diff <(echo "$before") <(echo "$after") >&2 || true
  exit 1
fi
echo "fresh Debian 12: the package installed, started and was removed without a trace"
