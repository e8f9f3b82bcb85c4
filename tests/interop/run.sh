#!/usr/bin/env bash
# Converts flight files to IGC with the built velkano and checks every IGC file produced
# against readers written by others. Flight files: the bundled samples and, when the build
# has it, the generated interoperability set (odd values, midnight crossings, every task size).
# Then writes CUP files from task files (the samples, the CUP round-trip set and every file of
# the CUP corpus imported) in both layouts and checks them with gpsbabel.
# Usage: run.sh BUILD_DIR
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build/default}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$root/scripts/lib.sh"

flights=("$root"/examples/*.flt)
if [ -x "$build/bin/make_interop_flights" ]; then
  mkdir -p "$work/flt"
  "$build/bin/make_interop_flights" "$work/flt"
  flights+=("$work"/flt/*.flt)
else
  skip "the generated interoperability flights" "$build has no make_interop_flights (built without tests)"
fi
mkdir -p "$work/igc"
"$build/bin/velkano" igc -q "${flights[@]}" -o "$work/igc"
bash "$root/tests/interop/check_igc.sh" "$work"/igc/*.igc

# The --text modes on the flight with accented names.
if [ -f "$work/flt/accented_names.flt" ]; then
  for mode in utf-8 ascii raw; do
    mkdir -p "$work/text-$mode"
    "$build/bin/velkano" igc -q --text "$mode" "$work/flt/accented_names.flt" -o "$work/text-$mode"
  done
  node "$root/tests/interop/check_text.js" "$work"/text-{utf-8,ascii,raw}/*.igc
else
  skip "the --text modes" "no generated flight with accented names"
fi

# CUP files from task files, read back by gpsbabel.
mkdir -p "$work/cup"
velkano="$build/bin/velkano"
cup_fixtures="$root/tests/formats/cup"
"$velkano" build "$cup_fixtures/round-trip.json" -o "$work/cup/round-trip.rtx"
for cup in "$cup_fixtures"/*.cup; do
  "$velkano" build "$cup" --skip-bad-rows -o "$work/cup/corpus-$(basename "${cup%.cup}").rtx" 2>/dev/null
done
for task in "$root"/examples/*.rtx "$work"/cup/*.rtx; do
  name="$work/cup/$(basename "${task%.rtx}")"
  "$velkano" dump "$task" -o "$name.json"
  cp "$name.json" "$name-11.json"
  "$velkano" cup "$task" -o "$name.cup" 2>/dev/null
  "$velkano" cup "$task" --columns 11 -o "$name-11.cup" 2>/dev/null
done
node "$root/tests/interop/check_cup.js" "$work"/cup/*.cup
