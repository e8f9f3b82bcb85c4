#!/usr/bin/env bash
# Checks IGC files against two readers written by others: igc-parser (npm) and gpsbabel.
# For every file both must parse it, find as many fixes as the file has B records, and,
# where C records are present, as many task points as there are C point lines.
# Usage: check_igc.sh FILE.igc...
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
[ -d "$here/node_modules/igc-parser" ] || (cd "$here" && npm ci --no-audit --no-fund --silent)

checked=0 failed=0
parsed=$(node "$here/check_igc.js" "$@") || failed=1
while read -r file fixes points; do
  [ -n "$file" ] || continue
  b=$(grep -c '^B' "$file" || true)
  c=$(grep -c '^C' "$file" || true)
  want_points=$(( c > 0 ? c - 1 : 0 ))
  gpx=$(gpsbabel -i igc -f "$file" -o gpx -F - 2>&1) || { echo "$file: gpsbabel failed: $gpx" >&2; failed=1; continue; }
  # gpsbabel gives one track per altitude source; count the fixes of the first.
  trkpts=$(awk '/<trk>/{n++} n==1 && /<trkpt /{c++} END{print c+0}' <<<"$gpx")
  problem=""
  [ "$fixes" = "$b" ] || problem+=" igc-parser found $fixes fixes, file has $b;"
  [ "$points" = "$want_points" ] || problem+=" igc-parser found $points task points, file has $want_points;"
  [ "$trkpts" = "$b" ] || problem+=" gpsbabel found $trkpts fixes, file has $b;"
  if [ -n "$problem" ]; then echo "$file:$problem" >&2; failed=1; fi
  checked=$((checked + 1))
done <<<"$parsed"
echo "interop: $checked IGC files checked with igc-parser and gpsbabel"
exit $failed
