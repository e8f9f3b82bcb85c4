# shellcheck shell=bash
# Jobs and skips of the test scripts, summed up at the end of a run, so that a green run never
# hides a part that did not run. A script sources this file, then:
#
#   summary_begin          starts a summary, unless the script runs inside another script's
#                          job: then its jobs and skips go into that summary
#   job NAME COMMAND...    runs COMMAND (a program or a function, under set -e) as one row of
#                          the summary, with its wall and CPU time; a failure ends the script
#                          with COMMAND's status, after the summary
#   skip WHAT WHY          records one line: WHAT did not run, and WHY. Called outside a job it
#                          also stands for a job, as a row marked skipped
#   run_ctest PRESET [ARGS...]
#                          ctest --preset PRESET ARGS (from the directory of CMakePresets.json,
#                          build in build/PRESET), recording each test CTest counted as skipped
#                          with the reason the test printed
#   summary_end            prints the table and every skip (only where the summary began);
#                          a script that runs jobs calls summary_begin first and this last
#
# Everything goes into the directory $VELKANO_SUMMARY, exported to all a job runs; a job or
# skip inside a job is named "OUTER / INNER". A skip with no summary running is only printed.

_summary_owner=no
_in_job=no

summary_begin() {
  [ -z "${VELKANO_SUMMARY:-}" ] || return 0
  VELKANO_SUMMARY=$(mktemp -d)
  export VELKANO_SUMMARY
  mkdir "$VELKANO_SUMMARY/rows"
  : >"$VELKANO_SUMMARY/skips"
  _summary_owner=yes
  _summary_start=$(_now)
}

# Seconds since the epoch; EPOCHREALTIME writes the locale's decimal separator.
_now() { echo "${EPOCHREALTIME/,/.}"; }

# Sets _cpu to the user and system seconds of this shell's children that have ended. `times`
# must run in this shell, not in a subshell, which would report its own children.
_children_cpu() {
  times >"$VELKANO_SUMMARY/times"
  _cpu=$(awk 'NR == 2 { gsub(",", "."); split($1 " " $2, t, /[ms]+ */)
                        printf "%.1f", t[1] * 60 + t[2] + t[3] * 60 + t[4] }' "$VELKANO_SUMMARY/times")
}

_new_row() { printf '%s/rows/%04d' "$VELKANO_SUMMARY" "$(find "$VELKANO_SUMMARY/rows" -type f | wc -l)"; }
_skip_count() { wc -l <"$VELKANO_SUMMARY/skips"; }
_qualified() { echo "${VELKANO_JOB:+$VELKANO_JOB / }$1"; }

job() {
  local name
  name=$(_qualified "$1")
  shift
  summary_begin
  local row start skips_before cpu_before status errexit=no
  row=$(_new_row)
  printf '%s\t-\t-\trunning\n' "$name" >"$row"
  skips_before=$(_skip_count)
  start=$(_now)
  _children_cpu
  cpu_before=$_cpu
  echo "== $name"
  # Not `( ... ) || status=$?`: bash ignores set -e anywhere inside a tested command.
  [[ $- != *e* ]] || errexit=yes
  set +e
  (
    set -e
    _in_job=yes
    VELKANO_JOB=$name
    export VELKANO_JOB
    "$@"
  )
  status=$?
  [ "$errexit" = no ] || set -e

  _children_cpu
  local wall cpu skipped result=passed
  wall=$(awk -v a="$start" -v b="$(_now)" 'BEGIN { printf "%.1f", b - a }')
  cpu=$(awk -v a="$cpu_before" -v b="$_cpu" 'BEGIN { printf "%.1f", b - a }')
  skipped=$(($(_skip_count) - skips_before))
  [ "$status" = 0 ] || result="FAILED (status $status)"
  [ "$skipped" = 0 ] || result+=", $skipped skipped inside"
  printf '%s\t%s\t%s\t%s\n' "$name" "$wall" "$cpu" "$result" >"$row"
  echo "-- $name: $result, $wall s (CPU $cpu s)"
  if [ "$status" != 0 ]; then
    summary_end
    exit "$status"
  fi
}

skip() {
  local what
  what=$(_qualified "$1")
  echo "-- skipped: $what: $2"
  [ -n "${VELKANO_SUMMARY:-}" ] || return 0
  printf '%s: %s\n' "$what" "$2" >>"$VELKANO_SUMMARY/skips"
  [ "$_in_job" = yes ] || printf '%s\t-\t-\tskipped\n' "$what" >"$(_new_row)"
}

run_ctest() {
  local - preset=$1 log status=0
  set -o pipefail
  shift
  log=$(mktemp)
  ctest --preset "$preset" "$@" | tee "$log" || status=$?
  # CTest lists them after its results as "  12 - Suite.Name (Skipped)" (a test's own output
  # may hold such lines too); GoogleTest printed the reason on the line after
  # "FILE:LINE: Skipped".
  local name reason
  while read -r name; do
    reason=$(awk -v test="$name" '
      { sub(/\r$/, "") }
      / Testing: / { inside = ($NF == test) }
      inside && found { print; exit }
      inside && /: Skipped$/ { found = 1 }' "build/$preset/Testing/Temporary/LastTest.log" \
      2>/dev/null) || true
    skip "test $name" "${reason:-the test skipped itself}"
  done < <(awk '/^The following tests did not run:/ { listed = 1; next }
               listed && !/ - .* \(Skipped\)$/ { listed = 0 }
               listed { sub(/^[[:space:]]*[0-9]+ - /, ""); sub(/ \(Skipped\)$/, ""); print }' "$log")
  rm -f "$log"
  return "$status"
}

summary_end() {
  [ "$_summary_owner" = yes ] || return 0
  _children_cpu
  local total_wall name wall cpu result row
  total_wall=$(awk -v a="$_summary_start" -v b="$(_now)" 'BEGIN { printf "%.1f", b - a }')
  local rows=("$VELKANO_SUMMARY"/rows/*) width=5
  for row in "${rows[@]}"; do
    [ -e "$row" ] || continue
    IFS=$'\t' read -r name _ <"$row"
    [ "${#name}" -le "$width" ] || width=${#name}
  done
  echo
  printf '%-*s %8s %8s  %s\n' "$width" job "wall s" "CPU s" result
  for row in "${rows[@]}"; do
    [ -e "$row" ] || continue
    IFS=$'\t' read -r name wall cpu result <"$row"
    printf '%-*s %8s %8s  %s\n' "$width" "$name" "$wall" "$cpu" "$result"
  done
  printf '%-*s %8s %8s\n' "$width" total "$total_wall" "$_cpu"
  echo "(CPU: user and system time of the processes a job waited for; Wine's server is not among them)"
  if [ -s "$VELKANO_SUMMARY/skips" ]; then
    echo "Not run ($(_skip_count)):"
    sed 's/^/  /' "$VELKANO_SUMMARY/skips"
  else
    echo "Nothing was skipped."
  fi
  rm -rf "$VELKANO_SUMMARY"
  unset VELKANO_SUMMARY
  _summary_owner=no
}
