#!/usr/bin/env bash
# The tool's layers point down only: cli/ and browser/ (the page's engine) side by side over
# host/ over formats/ and io/. No file under formats/ includes a header of cli/, browser/, host/
# or io/; none under host/ or io/ includes cli/ or browser/; io/ includes nothing of host/ or
# formats/; browser/ includes nothing of cli/ and cli/ nothing of browser/. And the formats library links into a program with no
# driver loading and no file system calls.
#   check_layers.sh SOURCE_DIR [FORMATS_ALONE_PROGRAM]
set -euo pipefail
tools="$1/tools"
program="${2:-}"
failed=0

reaches() {  # reaches LAYER PATTERN: includes in LAYER of headers matching PATTERN
  grep -rnE "#include *[\"<](${2})/" "$tools/$1" --include='*.h' --include='*.cpp' || true
}
check() {
  local found
  found=$(reaches "$1" "$2")
  if [ -n "$found" ]; then
    echo "FAIL: $1/ reaches up into $2/:"
    echo "$found"
    failed=1
  fi
}
check formats 'cli|browser|host|io'
check host 'cli|browser'
check io 'cli|browser|host|formats'
check browser cli
check cli browser
# Nor through the back door: the command line's library, driver loading or files in formats/.
found=$(grep -rnE '#include *<(CLI/|dlfcn|windows\.h|filesystem|fstream)' "$tools/formats" || true)
if [ -n "$found" ]; then
  echo "FAIL: formats/ includes the command line's library, driver loading or files:"
  echo "$found"
  failed=1
fi

if [ -n "$program" ]; then
  # What the program takes from outside itself and the C++ runtime's own use.
  imports=$(nm -u --demangle "$program")
  banned=$(grep -E '\b(dlopen|dlsym|LoadLibrary[AW]?|fopen|fopen64|open|open64|opendir|stat|stat64|mkstemp|rename|unlink|remove)\b|std::filesystem' <<<"$imports" || true)
  if [ -n "$banned" ]; then
    echo "FAIL: the formats alone call driver loading or the file system:"
    echo "$banned"
    failed=1
  fi
  "$program"
fi
[ "$failed" = 0 ] && echo "layers hold: browser/, formats/, io/ and host/ point down only"
exit "$failed"
