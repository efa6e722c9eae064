#!/usr/bin/env bash
# Builds the Debian package with CPack and checks its contents, its computed dependencies and
# that the packaged program answers --help. Slow: it installs, strips and compresses everything.
set -euo pipefail
build_dir="$1" source_dir="$2"
. "$source_dir/tests/install/expected-files.sh"
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT

(cd "$build_dir" && cpack -G DEB -B "$out" >/dev/null)
deb=("$out"/zelvanor-ymt_*.deb)
[ -f "${deb[0]}" ] || { echo "no package in $out"; ls "$out"; exit 1; }

dpkg-deb -c "${deb[0]}" | awk '{print $6}' | sed 's#^\./usr/##' | check_file_list "$source_dir"

# dpkg-shlibdeps must have found the Qt libraries the program links.
depends="$(dpkg-deb -f "${deb[0]}" Depends)"
for library in libqt6core6 libqt6widgets6 libc6; do
    grep -q "$library" <<<"$depends" || { echo "Depends lacks $library: $depends"; exit 1; }
done

dpkg-deb -x "${deb[0]}" "$out/root"
check_help "$out/root/usr/bin/zelvanor-ymt"
echo "package ${deb[0]##*/}: complete"
