#!/usr/bin/env bash
# Writes `velkano view` pages of the samples, of all of them at once and of a task file whose
# names are markup, and checks them in headless Chromium with the network unavailable
# (check_pages.js): the markers, route lines, flights and barogram points the files hold (as
# dump and igc read them), hiding a route, the barogram cursor, names shown as text.
# Usage: run.sh BUILD_DIR [OUT_DIR]   (OUT_DIR keeps the pages and a screenshot of each)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(cd "${1:-$root/build/default}" && pwd)
velkano=$build/bin/velkano
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
out=${2:-$work/pages}
mkdir -p "$out"
out=$(cd "$out" && pwd)

# The turnpoints and routes of a task file, as dump reads them: "N M".
task_sizes() {
  "$velkano" dump "$1" |
    node -e 'const d = JSON.parse(require("fs").readFileSync(0, "utf8"));
             console.log(d.turnpoints.length, d.routes.length);'
}
task_counts() {
  local sizes
  sizes=$(task_sizes "$1")
  echo "\"turnpoints\": ${sizes% *}, \"routes\": ${sizes#* }"
}
# "fixes": [B records of each flight] of flight files, as igc converts them.
fix_counts() {
  "$velkano" igc "$@" -o - --line-ending lf |
    awk '/^A/ { if (n != "") { list = list sep n; sep = ", " } n = 0 } /^B/ { n++ }
         END { if (n != "") list = list sep n; printf "\"fixes\": [%s]", list }'
}

expected=()
add() {  # add NAME FIELDS FILE...
  local name=$1 fields=$2; shift 2
  "$velkano" view "$@" -o "$out/$name.html"
  expected+=("{\"page\": \"$out/$name.html\", \"screenshot\": \"$out/$name.png\", $fields}")
}
tasks=("$root"/examples/*.rtx)
flights=("$root"/examples/*.flt)
for task in "${tasks[@]}"; do add "$(basename "${task%.*}")" "$(task_counts "$task")" "$task"; done
for flight in "${flights[@]}"; do add "$(basename "${flight%.*}")" "$(fix_counts "$flight")" "$flight"; done
# Every sample on one page: the turnpoints and routes of all task files.
turnpoints=0 routes=0
for task in "${tasks[@]}"; do
  sizes=$(task_sizes "$task")
  turnpoints=$((turnpoints + ${sizes% *})) routes=$((routes + ${sizes#* }))
done
add samples "\"turnpoints\": $turnpoints, \"routes\": $routes, $(fix_counts "${flights[@]}")" \
  "${tasks[@]}" "${flights[@]}"

# Names that are markup reach the page as text, and the data cannot end its script element.
"$velkano" build "$here/markup_names.json" -o "$work/markup_names.rtx"
"$velkano" view "$work/markup_names.rtx" -o "$work/markup_names.html"
if grep -Fq '<img src=x' "$work/markup_names.html"; then
  echo "view: a name went into the page unescaped" >&2
  exit 1
fi
expected+=("{\"page\": \"$work/markup_names.html\", \"turnpoints\": 2, \"routes\": 1,
  \"texts\": [\"<img src=x onerror=alert(1)>\"], \"popup\": \"<script>alert(1)</script>\"}")

(IFS=,; echo "[${expected[*]}]") > "$work/expected.json"
node "$here/check_pages.js" "$work/expected.json"
echo "view: ${#expected[@]} pages checked in headless Chromium"
