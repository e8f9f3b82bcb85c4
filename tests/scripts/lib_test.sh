#!/usr/bin/env bash
# scripts/lib.sh as the test scripts use it: each case is a script run on its own, its exit
# status, and its summary with the times taken out, compared line for line.
set -euo pipefail
# Run by scripts/test, it would otherwise add its cases to that run's summary.
unset VELKANO_SUMMARY VELKANO_JOB
lib=$(cd "$(dirname "$0")/../../scripts" && pwd)/lib.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
failures=0

# A CTest project with a test that fails, printing what looks like CTest's list of skipped
# tests, and one that skips itself as GoogleTest does.
mkdir -p ctest
cat >ctest/CMakeLists.txt <<'EOF'
cmake_minimum_required(VERSION 3.25)
project(skips NONE)
enable_testing()
add_test(NAME Suite.Fails COMMAND sh -c "echo '  7 - Other.Name (Skipped)'; exit 1")
add_test(NAME Suite.SkipsItself COMMAND sh -c
  "echo 'x_test.cpp:12: Skipped'; echo 'needs a device'; echo '[  SKIPPED ] Suite.SkipsItself'")
set_tests_properties(Suite.SkipsItself PROPERTIES SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\]")
EOF
cat >ctest/CMakePresets.json <<'EOF'
{"version": 6,
 "configurePresets": [{"name": "p", "generator": "Unix Makefiles", "binaryDir": "${sourceDir}/build/p"}],
 "testPresets": [{"name": "p", "configurePreset": "p"}]}
EOF
(cd ctest && cmake --preset p >/dev/null)

# Sourced first by every case: a script run inside a job adds to its caller's summary.
cat >inner.sh <<EOF
source "$lib"
summary_begin
job "inner job" true
skip "inner part" "reason C"
summary_end
EOF

# expect NAME STATUS SCRIPT SUMMARY: runs SCRIPT, which has sourced the library.
expect() {
  local name=$1 want_status=$2 script=$3 want=$4 status=0 got
  printf 'source "%s"\nset -euo pipefail\n%s\n' "$lib" "$script" >"$name.sh"
  bash "$name.sh" >"$name.out" 2>&1 || status=$?
  # From the table on, wall and CPU seconds out; rows as "NAME | RESULT".
  got=$(sed -n '/^job  *wall s/,$p' "$name.out" |
    sed -E '1d; /^\(CPU/d; s/^total .*/total/; s/ +([0-9]+\.[0-9]|-) +([0-9]+\.[0-9]|-)  / | /')
  if [ "$status" != "$want_status" ] || [ "$got" != "$want" ]; then
    echo "FAIL $name: status $status (expected $want_status), summary:"
    diff <(echo "$want") <(echo "$got") || true
    echo "-- output:"
    cat "$name.out"
    failures=$((failures + 1))
  fi
}

expect jobs_skips_and_nesting 0 '
summary_begin
job "first" true
skip "left out" "reason A"
job "nested" bash inner.sh
part() { true; skip "its part" "reason B"; }
job "with a skip" part
summary_end' "first | passed
left out | skipped
nested | passed, 1 skipped inside
nested / inner job | passed
nested / inner part | skipped
with a skip | passed, 1 skipped inside
total
Not run (3):
  left out: reason A
  nested / inner part: reason C
  with a skip / its part: reason B"

expect stops_at_the_first_failure 3 '
summary_begin
job "first" true
broken() { (exit 3); touch reached; }
job "broken" broken
job "never" true
summary_end' "first | passed
broken | FAILED (status 3)
total
Nothing was skipped."
[ ! -e reached ] || { echo "FAIL: a job went on after a failing command"; failures=$((failures + 1)); }

expect ctest_skips 8 '
summary_begin
cd ctest
job "tests" run_ctest p --output-on-failure
summary_end' "tests | FAILED (status 8), 1 skipped inside
total
Not run (1):
  tests / test Suite.SkipsItself: needs a device"

# The CPU column counts the work of a job's programs, not the time it waited.
expect cpu_and_wall 0 '
summary_begin
job "busy" awk "BEGIN { for (i = 0; i < 4e6; i++) s += i }"
job "asleep" sleep 1
summary_end' "busy | passed
asleep | passed
total
Nothing was skipped."
awk '$1 == "busy" { busy = $(NF - 1) } $1 == "asleep" { wall = $(NF - 2); idle = $(NF - 1) }
     END { exit !(busy > 0 && wall >= 1 && idle < 0.5) }' <(sed -n '/^job  *wall s/,$p' cpu_and_wall.out) ||
  { echo "FAIL cpu_and_wall: times not as expected:"; cat cpu_and_wall.out; failures=$((failures + 1)); }

[ "$failures" = 0 ] || exit 1
echo "lib.sh: jobs, skips and summaries as expected"
