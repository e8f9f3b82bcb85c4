#!/usr/bin/env bash
# Checks the converter page velkano.html of a build in headless Chromium with the network
# unavailable (check_page.js): for the samples, the flight interoperability set, the samples
# cut short and the CUP corpus, every file the page offers is the file velkano writes, with
# velkano's words beside it; names stay text; only map tiles are asked for. And its size.
# Usage: run.sh BUILD_DIR [OUT_DIR]   (OUT_DIR keeps the page and a screenshot of it)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(cd "${1:-$root/build/release}" && pwd)
page=$build/bin/velkano.html
max_bytes=4000000
# shellcheck source=../../scripts/lib.sh
[ ! -f "$root/scripts/lib.sh" ] || source "$root/scripts/lib.sh"

if [ ! -f "$page" ]; then
  # A build may lack the page only where it cannot make it; it says why when configured.
  if ! command -v em++ >/dev/null; then
    reason="Emscripten is not installed"
  elif grep -q '^VELKANO_BUILD_WASM:BOOL=OFF' "$build/CMakeCache.txt"; then
    reason="the build is configured with VELKANO_BUILD_WASM=OFF"
  elif [ ! -d "$root/tools/web/node_modules" ]; then
    reason="the npm packages of tools/web are not installed"
  else
    echo "page: $page was not built" >&2
    exit 1
  fi
  if declare -F skip >/dev/null; then skip "converter page" "$reason"; else echo "page: skipped: $reason"; fi
  exit 0
fi

bytes=$(stat -c %s "$page")
if [ "$bytes" -ge "$max_bytes" ]; then
  echo "page: $page weighs $bytes bytes, over $max_bytes" >&2
  exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/interop"
"$build/bin/make_interop_flights" "$work/interop"
shot=()
if [ -n "${2:-}" ]; then
  mkdir -p "$2"
  cp "$page" "$2/"
  shot=("$2/velkano.png")
fi
node "$here/check_page.js" "$page" "$build/bin/velkano" "$root" "$work/interop" \
  "$root/tests/view/markup_names.json" "${shot[@]}"
echo "page: $page, $bytes bytes"
