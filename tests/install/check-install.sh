#!/usr/bin/env bash
# `cmake --install` into a fresh prefix: every file is there, the desktop entry and the
# metainfo validate, the man page has its options, and the installed program answers --help.
set -euo pipefail
build_dir="$1" source_dir="$2"
. "$source_dir/tests/install/expected-files.sh"
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build_dir" --prefix "$prefix" >/dev/null
(cd "$prefix" && find . -type f | sed 's#^\./##') | check_file_list "$source_dir"

desktop-file-validate "$prefix/share/applications/zelvanor-ymt.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/io.github.zelvanor.ymt.metainfo.xml"

# Every option of --help is an entry of the man page.
man_page="$prefix/share/man/man1/zelvanor-ymt.1"
for option in $(QT_QPA_PLATFORM=offscreen "$prefix/bin/zelvanor-ymt" --help |
                sed -n 's/^  --\([a-z-]*\).*/\1/p'); do
    grep -qF ".B \\-\\-${option//-/\\-}" "$man_page" || { echo "man page lacks --$option"; exit 1; }
done

# The PNG icon is a real 256 x 256 PNG.
png="$prefix/share/icons/hicolor/256x256/apps/zelvanor-ymt.png"
[ "$(head -c 8 "$png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || { echo "not a PNG"; exit 1; }
[ "$(od -An -tu1 -j16 -N8 "$png" | tr -s ' ' | sed 's/^ //')" = "0 0 1 0 0 0 1 0" ] \
    || { echo "icon is not 256 x 256"; exit 1; }

check_help "$prefix/bin/zelvanor-ymt"

# The installed program lives in the user's data folder even though bin/ is writable here, and
# reads the sicl.conf there: an adapter that is not present makes the demo fail to connect.
user_home="$prefix/user-home"
mkdir -p "$user_home/.local/share/zelvanor-ymt"
printf '[interfaces]\ngpib0 = usbtmc /nonexistent/usbtmc0\n' \
    >"$user_home/.local/share/zelvanor-ymt/sicl.conf"
demo="$(env -u XDG_DATA_HOME -u XDG_CONFIG_HOME -u ZELVANOR_HOME HOME="$user_home" \
        QT_QPA_PLATFORM=offscreen "$prefix/bin/zelvanor-ymt" --fast --demo 2>&1 || true)"
grep -q '^Could not connect to the HP' <<<"$demo" || { echo "sicl.conf not read: $demo"; exit 1; }
[ -f "$user_home/.local/share/zelvanor-ymt/QC.txt" ] || { echo "no QC.txt in the data folder"; exit 1; }
left="$(ls -A "$prefix/bin" | grep -v '^zelvanor-ymt\(-simserver\)\?$' || true)"
[ -z "$left" ] || { echo "the program wrote into bin/: $left"; exit 1; }
echo "install into $prefix: complete"
