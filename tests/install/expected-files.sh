# The files an installation must hold, relative to the prefix; sourced by the install tests.
# Every language file of the source tree is expected in the data folder.
expected_files() {
    local source_dir="$1"
    printf '%s\n' bin/zelvanor-ymt bin/zelvanor-ymt-simserver \
        share/applications/zelvanor-ymt.desktop \
        share/metainfo/io.github.zelvanor.ymt.metainfo.xml \
        share/icons/hicolor/scalable/apps/zelvanor-ymt.svg \
        share/icons/hicolor/256x256/apps/zelvanor-ymt.png \
        share/man/man1/zelvanor-ymt.1 \
        share/zelvanor-ymt/sicl.conf.example \
        share/zelvanor-ymt/recorded-sample.csv \
        share/doc/zelvanor-ymt/guide.md
    local language
    for language in "$source_dir"/languages/*.lng; do
        [ -e "$language" ] && echo "share/zelvanor-ymt/$(basename "$language")"
    done
    return 0
}

# Fails (listing what is missing) unless every expected file is in the list on stdin, given as
# paths relative to the prefix.
check_file_list() {
    local source_dir="$1" listed missing=0 file
    listed="$(cat)"
    while read -r file; do
        if ! grep -qxF "$file" <<<"$listed"; then
            echo "missing: $file"
            missing=1
        fi
    done < <(expected_files "$source_dir")
    return $missing
}

# The installed program must answer --help with its usage line.
check_help() {
    local executable="$1" output
    output="$(QT_QPA_PLATFORM=offscreen "$executable" --help)" || { echo "--help failed"; return 1; }
    grep -q '^Usage: zelvanor-ymt' <<<"$output" || { echo "--help printed: $output"; return 1; }
}
