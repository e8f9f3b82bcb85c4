#!/usr/bin/env python3
"""Turns benchmark output into the Markdown of bench/RESULTS.md.

    report.py suite BENCHMARK.json          the Google Benchmark suite: tables and targets
    report.py profile ANNOTATED.txt         callgrind_annotate output of the route read-back
    report.py compare OURS_KB THEIRS_KB FLT_BYTES IGC_BYTES HYPERFINE.json...
                                            the whole-process comparison of bench/compare
"""
import json
import re
import statistics
import sys

FIX_COUNTS = (1000, 10000, 32767)
FLIGHT_TARGET = 3.0      # FIO_Flight2IGC at most 3x the minimal converter
ROUTE_TARGET = 5.0       # route files at most 5x the raw copy
PROCESS_TARGET = 5.0     # velkano at least 5x faster than gpsbabel
MEMORY_TARGET = 8e6      # bytes of peak resident memory


def verdict(ok):
    return "met" if ok else "**not met**"


def load_medians(path):
    with open(path) as f:
        data = json.load(f)
    medians = {}
    for run in data["benchmarks"]:
        if run.get("aggregate_name") == "median":
            medians[run["run_name"]] = run
    return data["context"], medians


def ms(run, key):
    scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[run["time_unit"]]
    return run[key] * scale


def suite(path):
    context, m = load_medians(path)
    out = []
    reps = next(iter(m.values()))["repetitions"] if m else 0
    out.append("## In-process benchmarks (velkano_bench)\n")
    out.append(f"Medians of {reps} repetitions. Wall time is "
               "what Google Benchmark reports as Time; CPU time is the process's own (user and "
               "system), without waiting for the disk or for a core of this shared machine. "
               "Each target is judged on both.\n")

    out.append("### FIO_Flight2IGC against the minimal converter\n")
    out.append("One flight with 20 declared task points; the minimal converter reads the whole "
               "file at once, prints each B line with one snprintf and writes once. Both print "
               "the same bytes (checked before timing).\n")
    out.append("| Input | Fixes | Driver CPU ms | Minimal CPU ms | Ratio CPU | Ratio wall "
               "| Driver fixes/s | Driver IGC MB/s |")
    out.append("|---|---:|---:|---:|---:|---:|---:|---:|")
    flight_ok = {"cpu": True, "wall": True}
    worst = {"cpu": 0.0, "wall": 0.0}
    for source in ("Memory", "File"):
        for n in FIX_COUNTS:
            d = m.get(f"Flight2IGC_{source}/{n}")
            b = m.get(f"Minimal_{source}/{n}")
            if d is None or b is None:
                out.append(f"| {source} | {n} | missing | | | | | |")
                flight_ok = {"cpu": False, "wall": False}
                continue
            ratio = ms(d, "cpu_time") / ms(b, "cpu_time")
            wall = ms(d, "real_time") / ms(b, "real_time")
            for key, value in (("cpu", ratio), ("wall", wall)):
                worst[key] = max(worst[key], value)
                flight_ok[key] = flight_ok[key] and value <= FLIGHT_TARGET
            out.append(f"| {source.lower()} | {n} | {ms(d, 'cpu_time'):.2f} | "
                       f"{ms(b, 'cpu_time'):.2f} | {ratio:.2f} | {wall:.2f} | "
                       f"{d['fixes/s'] / 1e6:.2f} M | {d['bytes_per_second'] / 1e6:.1f} |")
    out.append(f"\nTarget: at most {FLIGHT_TARGET:g}x the minimal converter. Worst ratio "
               f"{worst['cpu']:.2f} in CPU time: {verdict(flight_ok['cpu'])}; "
               f"{worst['wall']:.2f} in wall time: {verdict(flight_ok['wall'])}.\n")

    out.append("### Route files: 16,384 turnpoints and 16,384 routes of 20 points\n")
    raw = m.get("RouteRawCopy")
    route_ok = {"cpu": raw is not None, "wall": raw is not None}
    route_worst = {"cpu": 0.0, "wall": 0.0}
    out.append("| Benchmark | CPU ms | Wall ms | Records/s | Ratio to raw copy, CPU | wall |")
    out.append("|---|---:|---:|---:|---:|---:|")
    for name, label in (("RouteWrite", "write through the exports"),
                        ("RouteWriteCold", "write, all routes held by the host"),
                        ("RouteRead", "read back through FIO_ReadObject")):
        r = m.get(name)
        if r is None or raw is None:
            out.append(f"| {label} | missing | | | | |")
            route_ok = {"cpu": False, "wall": False}
            continue
        ratio = ms(r, "cpu_time") / ms(raw, "cpu_time")
        wall = ms(r, "real_time") / ms(raw, "real_time")
        if name != "RouteWriteCold":
            for key, value in (("cpu", ratio), ("wall", wall)):
                route_worst[key] = max(route_worst[key], value)
                route_ok[key] = route_ok[key] and value <= ROUTE_TARGET
        out.append(f"| {label} | {ms(r, 'cpu_time'):.1f} | {ms(r, 'real_time'):.1f} | "
                   f"{r['records/s'] / 1e6:.2f} M | {ratio:.2f} | {wall:.2f} |")
    if raw is not None:
        out.append(f"| raw copy of both files ({raw['file_bytes'] / 1e6:.1f} MB, one read and "
                   f"one write each) | {ms(raw, 'cpu_time'):.1f} | {ms(raw, 'real_time'):.1f} "
                   "| | 1 | 1 |")
    out.append(f"\nTarget: writing and reading back each at most {ROUTE_TARGET:g}x the raw copy "
               f"(the cold write is shown for information). Worst ratio {route_worst['cpu']:.2f} "
               f"in CPU time: {verdict(route_ok['cpu'])}; {route_worst['wall']:.2f} in wall "
               f"time: {verdict(route_ok['wall'])}.\n")

    out.append("### Per call\n")
    out.append("| Operation | ns per call |")
    out.append("|---|---:|")
    for name, label in (("DecodeReal48", "decodeReal48"), ("EncodeReal48", "encodeReal48"),
                        ("KoPoint/longitude:0", "CKoPoint, latitude"),
                        ("KoPoint/longitude:1", "CKoPoint, longitude")):
        r = m.get(name)
        out.append(f"| {label} | {ms(r, 'cpu_time') * 1e6:.1f} |" if r else f"| {label} | missing |")
    out.append("")
    return "\n".join(out)


def compare(ours_kb, theirs_kb, flt_bytes, igc_bytes, paths):
    runs = [{"times": [], "user": [], "system": []} for _ in range(2)]
    for path in paths:
        with open(path) as f:
            for total, result in zip(runs, json.load(f)["results"]):
                total["times"] += result["times"]
                total["user"].append(result["user"])
                total["system"].append(result["system"])
    ours, theirs = runs
    ratio = statistics.median(theirs["times"]) / statistics.median(ours["times"])
    ours_bytes = int(ours_kb) * 1024
    out = ["## Whole process (bench/compare)\n"]
    out.append(f"`velkano igc` converts a flight file of 32,767 fixes ({int(flt_bytes):,} bytes) "
               f"into one IGC file ({int(igc_bytes):,} bytes); gpsbabel reads that IGC file and "
               f"writes it again as IGC. {len(ours['times'])} timed runs each with hyperfine, in "
               f"{len(paths)} rounds that alternate between the two commands; peak memory is the "
               "largest of five runs (/usr/bin/time -v).\n")
    out.append("| Command | Median ms | Mean ± σ ms | User ms | System ms | Peak RSS KiB |")
    out.append("|---|---:|---:|---:|---:|---:|")
    for r, kb, label in ((ours, ours_kb, "velkano igc X.flt -o DIR"),
                         (theirs, theirs_kb, "gpsbabel -i igc -f X.igc -o igc -F Y.igc")):
        t = r["times"]
        out.append(f"| `{label}` | {statistics.median(t) * 1e3:.1f} | "
                   f"{statistics.mean(t) * 1e3:.1f} ± {statistics.stdev(t) * 1e3:.1f} | "
                   f"{statistics.mean(r['user']) * 1e3:.1f} | "
                   f"{statistics.mean(r['system']) * 1e3:.1f} | {int(kb):,} |")
    out.append(f"\nvelkano is {ratio:.1f}x faster (medians); target at least "
               f"{PROCESS_TARGET:g}x: {verdict(ratio >= PROCESS_TARGET)}.")
    out.append(f"Peak resident memory of velkano: {int(ours_kb):,} KiB = "
               f"{ours_bytes / 1e6:.2f} MB; target under {MEMORY_TARGET / 1e6:g} MB: "
               f"{verdict(ours_bytes < MEMORY_TARGET)}.\n")
    return "\n".join(out)


# Self costs from callgrind_annotate, grouped by what the reading-back work consists of.
PROFILE_GROUPS = (
    ("one Read call per field: CStdioFile::Read and the C stream under it",
     re.compile(r"CStdioFile::Read|iofread|fread|_IO_|__uflow|__underflow|/read\.c:|mempcpy")),
    ("allocating and freeing: malloc, free, new, delete",
     re.compile(r"malloc\.c|arena\.c|operator new|operator delete")),
    ("the host: destroying the entries and routes it was handed, its loop",
     re.compile(r"~FIO_TPEntry|readRouteFiles")),
    ("decoding in the driver: records, tags, numbers, texts",
     re.compile(r"Velkano17Rte\.drf")),
)


def profile(path):
    total = 0
    groups = [0] * (len(PROFILE_GROUPS) + 1)
    line_re = re.compile(r"^\s*([\d,]+) \([ \d.]+%\)\s+(.*)$")
    with open(path) as f:
        for line in f:
            match = line_re.match(line)
            if not match:
                continue
            cost, name = int(match.group(1).replace(",", "")), match.group(2)
            if name.startswith("PROGRAM TOTALS"):
                total = cost
                continue
            index = next((i for i, (_, pattern) in enumerate(PROFILE_GROUPS)
                          if pattern.search(name)), len(PROFILE_GROUPS))
            groups[index] += cost
    out = ["### Where reading back spends its instructions\n"]
    out.append("callgrind on one read-back of the route files (instructions executed in user "
               "space; the system's work is not in it), grouped by function.\n")
    out.append("| Part | Instructions | Share |")
    out.append("|---|---:|---:|")
    labels = [label for label, _ in PROFILE_GROUPS] + ["everything else"]
    for label, cost in zip(labels, groups):
        out.append(f"| {label} | {cost / 1e6:.0f} M | {100 * cost / max(total, 1):.0f}% |")
    out.append(f"| total | {total / 1e6:.0f} M | 100% |\n")
    out.append("Every field is one virtual `Read` of its own width, as the formats are read "
               "throughout, and each call pays the stream's per-call bookkeeping: a read-ahead "
               "buffer inside `CStdioFile`, serving a field with a bounds check and a copy, would "
               "remove most of the first part. The allocations belong to the host interface: "
               "each route hands the host 20 new `FIO_TPEntry` objects (created by the driver, "
               "freed by the host), and texts arrive as `std::string`.\n")
    return "\n".join(out)


def main(argv):
    if len(argv) == 3 and argv[1] == "suite":
        print(suite(argv[2]))
    elif len(argv) == 3 and argv[1] == "profile":
        print(profile(argv[2]))
    elif len(argv) >= 7 and argv[1] == "compare":
        print(compare(*argv[2:6], argv[6:]))
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv)
