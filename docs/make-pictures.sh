#!/usr/bin/env bash
# Makes the guide's pictures anew from the program itself: the tabs as they start
# (--screenshot) and a measurement on the simulated analyzer (measurement.txt, run by the script
# driver). Usage: docs/make-pictures.sh [BUILD_DIR]   (default: build/)
set -euo pipefail
docs="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "${1:-$docs/../build}" && pwd)"
program="$build/zelvanor-ymt"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen
# Settings of its own, so the pictures start from the defaults and the user's settings stay.
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"

mkdir -p "$docs/pictures" "$work/home"
"$program" --home "$work/home" --screenshot "$work/shots" >/dev/null
for pair in TabSheet1:hardware TabSheet2:sample TabSheet4:protocol TabSheet5:comparison \
            TabSheet8:repeat TabSheet9:options; do
    cp "$work/shots/${pair%%:*}-818x591.png" "$docs/pictures/tab-${pair#*:}.png"
done

# A fresh home and settings, so that the measurement starts from the program's defaults (the
# screenshots above end with "Show Additional Controls" on).
mkdir -p "$work/measure"
XDG_CONFIG_HOME="$work/measure-config" \
"$program" --fast --home "$work/measure" --script "$docs/measurement.txt" > "$work/run.txt" || {
    cat "$work/run.txt" >&2
    exit 1
}
grep '^picture ' "$work/run.txt" | sed "s#$docs/##"
ls "$docs/pictures"
