#!/usr/bin/env bash
# velkano.exe under Wine against the Linux velkano: every sample flight converted to IGC (both
# line endings), every sample task file and a task built from sample_task.json dumped to
# JSON, and the built task and turnpoint files themselves, all byte for byte.
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
    run "$side" igc "${flights[@]}" -o "$side/igc-$ending" --line-ending "$ending"
  done
  mkdir -p "$side/task"
  run "$side" build in/sample_task.json -o "$side/task/sample.rtx"
  for task in in/*.rtx "$side/task/sample.rtx"; do
    [ -e "$task" ] || continue
    run "$side" dump "$task" -o "$side/$(basename "${task%.rtx}").json"
  done
done

for ending in crlf lf; do
  [ "$(ls linux/igc-$ending)" = "$(ls windows/igc-$ending)" ] ||
    { echo "FAIL: different IGC files:"; diff <(ls linux/igc-$ending) <(ls windows/igc-$ending); exit 1; }
  [ -n "$(ls linux/igc-$ending)" ] || { echo "FAIL: no IGC file written"; exit 1; }
  for igc in linux/igc-$ending/*; do same "$igc" "windows/igc-$ending/$(basename "$igc")"; done
done
same linux/task/sample.rtx windows/task/sample.rtx
same linux/task/sample.top windows/task/sample.top
for json in linux/*.json; do same "$json" "windows/$(basename "$json")"; done
echo "velkano.exe matches the Linux velkano: $compared files identical"
