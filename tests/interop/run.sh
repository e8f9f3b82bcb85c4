#!/usr/bin/env bash
# Converts flight files to IGC with the built velkano and checks every IGC file produced
# against readers written by others. Flight files: the bundled samples and, when the build
# has it, the generated interoperability set (odd values, midnight crossings, every task size).
# Usage: run.sh BUILD_DIR
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build/default}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

flights=("$root"/examples/*.flt)
if [ -x "$build/bin/make_interop_flights" ]; then
  mkdir -p "$work/flt"
  "$build/bin/make_interop_flights" "$work/flt"
  flights+=("$work"/flt/*.flt)
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
fi
