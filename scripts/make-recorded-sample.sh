#!/bin/sh
# Records the simulated analyzer's own sample model into dist/recorded-sample.csv, the small
# recording the simulated analyzer can play back ("sample = file PATH" in sicl.conf): the
# program connects to the simulated HP 4294A, reads a new spectrum over 150 ... 260 kHz (401
# points and the capacitance point at 1 kHz) and saves it as CSV. Run after a build.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
program="$root/build/zelvanor-ymt"
out="$root/dist/recorded-sample.csv"
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
rm -f "$out"
cat > "$home/steps.txt" <<STEPS
select RadioGroup4 0
type Edit4 "recorded-sample"
enter Edit4
type Edit6 "the simulated analyzer's default sample model, recorded by scripts/make-recorded-sample.sh"
select ComboBox6 1
answer Cancel
click Button12
type Edit36 150
type Edit37 260
check CheckBox24 0
click Button6
file $out #8
click Speichern1
quit
STEPS
"$program" --fast --home "$home" --script "$home/steps.txt"
echo "wrote $out ($(grep -vc '^#' "$out") lines of points and titles)"
