# Shared by fuzz/run and fuzz/smoke: the harness list, the build, and the options every
# fuzzing run gets.
harnesses=(fuzz_properties fuzz_route_read fuzz_flight_igc fuzz_build_json fuzz_cup_read)

fuzz_root=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
repo_root=$(dirname "$fuzz_root")
bin_dir="$repo_root/build/fuzz/bin"

# A smaller quarantine and shorter allocation stacks keep the sanitizers' bookkeeping from
# eating the executions; a finding is re-run with the defaults for its full report.
export ASAN_OPTIONS="${ASAN_OPTIONS:-quarantine_size_mb=64:malloc_context_size=8:detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"

# Inputs beyond 64 KiB add nothing the formats can express in smaller ones; one input may
# take 10 s at most and allocate 64 MiB in one block (the harnesses hold each input to a
# far smaller heap budget themselves).
fuzz_options=(-max_len=65536 -timeout=10 -malloc_limit_mb=64 -rss_limit_mb=2048 -print_final_stats=1)

build_fuzzers() {
    (cd "$repo_root" && bash scripts/install-deps && cmake --preset fuzz >/dev/null && cmake --build --preset fuzz -j2 --target fuzzers)
}

# Runs every saved finding of a harness once; fails when one still crashes.
replay_regressions() {
    local harness=$1 dir="$fuzz_root/regressions/$1"
    [ -d "$dir" ] || return 0
    local inputs=("$dir"/*)
    [ -e "${inputs[0]}" ] || return 0
    "$bin_dir/$harness" "${fuzz_options[@]}" "${inputs[@]}"
}
