#!/usr/bin/env bash
# velkano.exe under Wine against the Linux velkano: every sample flight converted to IGC (both
# line endings), the task and turnpoint files built from every sample JSON and from
# sample_task.json, every sample and built task file dumped to JSON, and the view page of all
# samples (the Windows build embeds the same page), all byte for byte.
# Usage: compare_tool_output.sh LINUX_VELKANO WINDOWS_VELKANO_EXE   (run from the repository)
set -euo pipefail
linux=$(realpath "${1:?usage: compare_tool_output.sh LINUX_VELKANO WINDOWS_VELKANO_EXE}")
windows=$(realpath "${2:?usage: compare_tool_output.sh LINUX_VELKANO WINDOWS_VELKANO_EXE}")
here=$(dirname "$(realpath "$0")")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Both run from the same directory on the same relative paths, so the outputs cannot differ
# by the paths they were given.
cp -r examples "$work/in"
cp "$here/sample_task.json" "$work/in/"
cd "$work"
run() {  # run linux|windows ARGS...
  local side=$1
  shift
  if [ "$side" = linux ]; then "$linux" "$@"; else wine "$windows" "$@"; fi
}

compared=0
same() {  # same FILE_A FILE_B
  if ! cmp "$1" "$2"; then
    echo "FAIL: $1 and $2 differ"
    exit 1
  fi
  compared=$((compared + 1))
}

flights=(in/*.flt)
[ -e "${flights[0]}" ] || { echo "no sample flight files in examples/"; exit 1; }
for side in linux windows; do
  for ending in crlf lf; do
    mkdir -p "$side/igc-$ending"
    run "$side" igc -q "${flights[@]}" -o "$side/igc-$ending" --line-ending "$ending"
  done
  mkdir -p "$side/task" "$side/json"
  for json in in/*.json; do
    run "$side" build "$json" -o "$side/task/$(basename "${json%.json}").rtx"
  done
  for task in in/*.rtx; do
    [ -e "$task" ] || continue
    run "$side" dump "$task" -o "$side/json/sample-$(basename "${task%.rtx}").json"
  done
  for task in "$side"/task/*.rtx; do
    run "$side" dump "$task" -o "$side/json/built-$(basename "${task%.rtx}").json"
  done
  mkdir -p "$side/view"
  run "$side" view in/*.rtx "${flights[@]}" -o "$side/view/samples.html"
done

for ending in crlf lf; do
  [ "$(ls linux/igc-$ending)" = "$(ls windows/igc-$ending)" ] ||
    { echo "FAIL: different IGC files:"; diff <(ls linux/igc-$ending) <(ls windows/igc-$ending); exit 1; }
  [ -n "$(ls linux/igc-$ending)" ] || { echo "FAIL: no IGC file written"; exit 1; }
  for igc in linux/igc-$ending/*; do same "$igc" "windows/igc-$ending/$(basename "$igc")"; done
done
for dir in task json view; do
  [ "$(ls linux/$dir)" = "$(ls windows/$dir)" ] ||
    { echo "FAIL: different files in $dir:"; diff <(ls linux/$dir) <(ls windows/$dir); exit 1; }
  for file in linux/$dir/*; do same "$file" "windows/$dir/$(basename "$file")"; done
done
echo "velkano.exe matches the Linux velkano: $compared files identical"
