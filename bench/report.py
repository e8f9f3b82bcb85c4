#!/usr/bin/env python3
"""Turns benchmark output into the Markdown of bench/RESULTS.md. Given two files where it
takes one, the first is the figures before a change and the second after it, side by side.

    report.py suite [BEFORE.json[,...]] BENCHMARK.json[,...]
                                            the Google Benchmark suite: tables and targets,
                                            medians over every repetition in the files
    report.py profile [BEFORE.txt] ANNOTATED.txt
                                            callgrind_annotate output of the route read-back
    report.py compare FACTS.txt FLT_BYTES IGC_BYTES ROUTE_BYTES HYPERFINE.json...
                                            the whole-process comparison of bench/compare;
                                            FACTS.txt: lines "NAME PEAK_KIB INSTRUCTIONS"
"""
import json
import re
import statistics
import sys

FIX_COUNTS = (1000, 10000, 32767)
FLIGHT_RATE_TARGET = 8e6  # FIO_Flight2IGC fixes per second, on the largest flight
ROUTE_TARGET = 3.0        # route files at most 3x the raw copy
PROCESS_TARGET = 10.0     # velkano igc at least 10x faster than gpsbabel
IGC_MEMORY_TARGET = 8e6   # bytes of peak resident memory of velkano igc
DUMP_MEMORY_TARGET = 64e6  # ... and of velkano dump on the largest task file


def verdict(ok):
    return "met" if ok else "**not met**"


def load_medians(paths):
    """Per benchmark, the median of every repetition in the files (the runs of one build,
    taken in turns with another's)."""
    runs = {}
    for path in paths:
        with open(path) as f:
            for run in json.load(f)["benchmarks"]:
                if run.get("run_type", "iteration") == "iteration":
                    runs.setdefault(run["run_name"], []).append(run)
    medians = {}
    for name, repetitions in runs.items():
        median = dict(repetitions[0])
        for key, value in repetitions[0].items():
            if isinstance(value, (int, float)) and not isinstance(value, bool):
                median[key] = statistics.median(r[key] for r in repetitions)
        median["repetitions"] = len(repetitions)
        medians[name] = median
    return medians


def ms(run, key):
    scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[run["time_unit"]]
    return run[key] * scale


def cells(values, fmt):
    """One cell per version; a missing figure shows as such."""
    return " | ".join("missing" if v is None else fmt.format(v) for v in values)


def heads(label, versions):
    if len(versions) == 1:
        return label
    return " | ".join(f"{label} {v}" for v in versions)


def suite(paths):
    suites = [load_medians(p.split(",")) for p in paths]
    versions = ["before", "after"] if len(suites) == 2 else ["now"]
    after = suites[-1]
    n = len(suites)
    out = []
    reps = next(iter(after.values()))["repetitions"] if after else 0
    out.append("## In-process benchmarks (velkano_bench)\n")
    out.append(f"Medians of {reps} repetitions. Wall time is "
               "what Google Benchmark reports as Time; CPU time is the process's own (user and "
               "system), without waiting for the disk or for a core of this shared machine. "
               "Each target is judged on both.\n")

    def get(m, name):
        return m.get(name)

    out.append("### FIO_Flight2IGC\n")
    out.append("One flight with 20 declared task points, from the in-memory host file or from a "
               "file on disk, into an in-memory or on-disk IGC file. The minimal converter reads "
               "the whole file at once, prints each B line with one snprintf and writes once; "
               "both print the same bytes (checked before timing).\n")
    out.append(f"| Input | Fixes | {heads('CPU ms', versions)} | {heads('fixes/s', versions)} "
               f"| Minimal CPU ms | Ratio to minimal, CPU | wall |")
    out.append("|---|---:|" + "---:|" * (2 * n + 3))
    rate_ok = True
    worst_rate = None
    for source in ("Memory", "File"):
        for fixes in FIX_COUNTS:
            runs = [get(m, f"Flight2IGC_{source}/{fixes}") for m in suites]
            minimal = get(after, f"Minimal_{source}/{fixes}")
            d = runs[-1]
            cpu = [ms(r, "cpu_time") if r else None for r in runs]
            rate = [r["fixes/s"] / 1e6 if r else None for r in runs]
            if d is None or minimal is None:
                out.append(f"| {source.lower()} | {fixes} | {cells(cpu, '{:.2f}')} | "
                           f"{cells(rate, '{:.2f} M')} | missing | | |")
                rate_ok = False
                continue
            if fixes == FIX_COUNTS[-1]:
                worst_rate = d["fixes/s"] if worst_rate is None else min(worst_rate, d["fixes/s"])
                rate_ok = rate_ok and d["fixes/s"] >= FLIGHT_RATE_TARGET
            out.append(f"| {source.lower()} | {fixes} | {cells(cpu, '{:.2f}')} | "
                       f"{cells(rate, '{:.2f} M')} | {ms(minimal, 'cpu_time'):.2f} | "
                       f"{ms(d, 'cpu_time') / ms(minimal, 'cpu_time'):.2f} | "
                       f"{ms(d, 'real_time') / ms(minimal, 'real_time'):.2f} |")
    shown = "missing" if worst_rate is None else f"{worst_rate / 1e6:.2f} M"
    if n == 2:
        out.append("\nThe minimal converter and the ratios are from the runs of the after build.")
    out.append(f"\nTarget: at least {FLIGHT_RATE_TARGET / 1e6:g} M fixes per second on the "
               f"{FIX_COUNTS[-1]:,}-fix flight, from memory and from a file (CPU time). Slower "
               f"of the two: {shown} fixes/s: {verdict(rate_ok)}.\n")

    out.append("### Route files: 16,384 turnpoints and 16,384 routes of 20 points\n")
    raws = [get(m, "RouteRawCopy") for m in suites]
    raw = raws[-1]
    route_ok = {"cpu": raw is not None, "wall": raw is not None}
    worst = {"cpu": 0.0, "wall": 0.0}
    out.append(f"| Benchmark | {heads('CPU ms', versions)} | {heads('wall ms', versions)} | "
               f"{heads('ratio to raw copy, CPU', versions)} | {heads('wall', versions)} |")
    out.append("|---|" + "---:|" * (4 * n))
    for name, label in (("RouteWrite", "write through the exports"),
                        ("RouteWriteCold", "write, all routes held by the host"),
                        ("RouteRead", "read back through FIO_ReadObject")):
        runs = [get(m, name) for m in suites]
        cpu = [ms(r, "cpu_time") if r else None for r in runs]
        wall = [ms(r, "real_time") if r else None for r in runs]
        ratio = [ms(r, "cpu_time") / ms(w, "cpu_time") if r and w else None
                 for r, w in zip(runs, raws)]
        wall_ratio = [ms(r, "real_time") / ms(w, "real_time") if r and w else None
                      for r, w in zip(runs, raws)]
        if name != "RouteWriteCold":
            for key, value in (("cpu", ratio[-1]), ("wall", wall_ratio[-1])):
                if value is None:
                    route_ok[key] = False
                    continue
                worst[key] = max(worst[key], value)
                route_ok[key] = route_ok[key] and value <= ROUTE_TARGET
        out.append(f"| {label} | {cells(cpu, '{:.1f}')} | {cells(wall, '{:.1f}')} | "
                   f"{cells(ratio, '{:.2f}')} | {cells(wall_ratio, '{:.2f}')} |")
    if raw is not None:
        cpu = [ms(r, "cpu_time") if r else None for r in raws]
        wall = [ms(r, "real_time") if r else None for r in raws]
        out.append(f"| raw copy of both files ({raw['file_bytes'] / 1e6:.1f} MB, one read and "
                   f"one write each) | {cells(cpu, '{:.1f}')} | {cells(wall, '{:.1f}')} | "
                   + " | ".join(["1"] * (2 * n)) + " |")
    out.append(f"\nTarget: writing and reading back each at most {ROUTE_TARGET:g}x the raw copy "
               f"(the cold write is shown for information). Worst ratio {worst['cpu']:.2f} "
               f"in CPU time: {verdict(route_ok['cpu'])}; {worst['wall']:.2f} in wall "
               f"time: {verdict(route_ok['wall'])}.\n")

    out.append("### Per call\n")
    out.append(f"| Operation | {heads('ns per call', versions)} |")
    out.append("|---|" + "---:|" * n)
    for name, label in (("DecodeReal48", "decodeReal48"), ("EncodeReal48", "encodeReal48"),
                        ("KoPoint/longitude:0", "CKoPoint, latitude"),
                        ("KoPoint/longitude:1", "CKoPoint, longitude")):
        values = [ms(m[name], "cpu_time") * 1e6 if name in m else None for m in suites]
        out.append(f"| {label} | {cells(values, '{:.1f}')} |")
    out.append("")
    return "\n".join(out)


# Name in bench/compare, label, and the peak memory target it is held to.
PROCESSES = (
    ("igc-before", "`velkano igc X.flt -o DIR`, before", None),
    ("igc-after", "`velkano igc X.flt -o DIR`", IGC_MEMORY_TARGET),
    ("gpsbabel", "`gpsbabel -i igc -f X.igc -o igc -F Y.igc`", None),
    ("dump-before", "`velkano dump R.rtx -o R.json`, before", None),
    ("dump-after", "`velkano dump R.rtx -o R.json`", DUMP_MEMORY_TARGET),
)


def compare(facts_path, flt_bytes, igc_bytes, route_bytes, paths):
    facts = {}
    with open(facts_path) as f:
        for line in f:
            name, kb, instructions = line.split()
            facts[name] = (int(kb), int(instructions) if instructions.isdigit() else None)
    runs = {}
    for path in paths:
        with open(path) as f:
            for result in json.load(f)["results"]:
                r = runs.setdefault(result["command"], {"times": [], "user": [], "system": []})
                r["times"] += result["times"]
                r["user"].append(result["user"])
                r["system"].append(result["system"])
    count = len(runs["igc-after"]["times"]) if "igc-after" in runs else 0
    dump_count = len(runs["dump-after"]["times"]) if "dump-after" in runs else 0
    rounds = len([p for p in paths if "dump-" not in p])
    out = ["## Whole process (bench/compare)\n"]
    out.append(f"`velkano igc` converts a flight file of 32,767 fixes ({int(flt_bytes):,} bytes) "
               f"into one IGC file ({int(igc_bytes):,} bytes); gpsbabel reads that IGC file and "
               f"writes it again as IGC. `velkano dump` prints a task file of 16,384 turnpoints "
               f"and 16,384 routes of 20 points ({int(route_bytes):,} bytes with its turnpoint "
               f"file) as JSON. {count} timed runs each with hyperfine ({dump_count} of the "
               f"dump), in {rounds} rounds that take turns between the commands; peak memory "
               "is the largest of five runs (/usr/bin/time -v); instructions are those callgrind counts in one run (user "
               "space only, the system's work is not in them; unlike times they do not depend "
               "on the load of this shared machine).\n")
    out.append("| Command | Median ms | Mean ± σ ms | User ms | System ms | Peak RSS KiB "
               "| Instructions |")
    out.append("|---|---:|---:|---:|---:|---:|---:|")
    for name, label, _ in PROCESSES:
        if name not in runs:
            continue
        r, (kb, instructions) = runs[name], facts.get(name, (0, None))
        t = r["times"]
        shown = "not counted" if instructions is None else f"{instructions / 1e6:.1f} M"
        out.append(f"| {label} | {statistics.median(t) * 1e3:.1f} | "
                   f"{statistics.mean(t) * 1e3:.1f} ± {statistics.stdev(t) * 1e3:.1f} | "
                   f"{statistics.mean(r['user']) * 1e3:.1f} | "
                   f"{statistics.mean(r['system']) * 1e3:.1f} | {kb:,} | {shown} |")
    out.append("")
    ours, theirs = runs.get("igc-after"), runs.get("gpsbabel")
    if ours and theirs:
        ratio = statistics.median(theirs["times"]) / statistics.median(ours["times"])
        line = (f"velkano igc is {ratio:.1f}x faster than gpsbabel (medians); target at least "
                f"{PROCESS_TARGET:g}x: {verdict(ratio >= PROCESS_TARGET)}.")
        cpu = [statistics.mean(r["user"]) + statistics.mean(r["system"]) for r in (ours, theirs)]
        line += f" In CPU time (user and system) it takes {cpu[1] / cpu[0]:.1f}x less"
        ir_ours = facts.get("igc-after", (0, None))[1]
        ir_theirs = facts.get("gpsbabel", (0, None))[1]
        if ir_ours and ir_theirs:
            line += f", in instructions it executes {ir_theirs / ir_ours:.1f}x fewer"
        line += "."
        out.append(line)
    for name, label, target in PROCESSES:
        if target is None or name not in facts:
            continue
        kb = facts[name][0]
        out.append(f"Peak resident memory of {label}: {kb:,} KiB = {kb * 1024 / 1e6:.2f} MB; "
                   f"target under {target / 1e6:g} MB: {verdict(kb * 1024 < target)}.")
    out.append("")
    return "\n".join(out)


# Self costs from callgrind_annotate, grouped by what the reading-back work consists of.
PROFILE_GROUPS = (
    ("the host file: CStdioFile's Read per field and the C stream under it",
     re.compile(r"CStdioFile::|iofread|fread|_IO_|__uflow|__underflow|/read\.c:|mempcpy")),
    ("allocating and freeing: malloc, free, new, delete",
     re.compile(r"malloc\.c|arena\.c|operator new|operator delete")),
    ("the host: destroying the entries and routes it was handed, its loop",
     re.compile(r"~FIO_TPEntry|readRouteFiles")),
    ("decoding in the driver: records, tags, numbers, texts",
     re.compile(r"Velkano17Rte\.drf")),
)


def profile_groups(path):
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
    return groups, total


def profile(paths):
    measured = [profile_groups(p) for p in paths]
    versions = ["before", "after"] if len(measured) == 2 else ["now"]
    out = ["### Where reading back spends its instructions\n"]
    out.append("callgrind on one read-back of the route files (instructions executed in user "
               "space; the system's work is not in it), grouped by function.\n")
    out.append(f"| Part | {heads('instructions', versions)} | {heads('share', versions)} |")
    out.append("|---|" + "---:|" * (2 * len(measured)))
    labels = [label for label, _ in PROFILE_GROUPS] + ["everything else"]
    for i, label in enumerate(labels):
        counts = [groups[i] / 1e6 for groups, _ in measured]
        shares = [100 * groups[i] / max(total, 1) for groups, total in measured]
        out.append(f"| {label} | {cells(counts, '{:.0f} M')} | {cells(shares, '{:.0f}%')} |")
    totals = [total / 1e6 for _, total in measured]
    out.append(f"| total | {cells(totals, '{:.0f} M')} | " +
               " | ".join(["100%"] * len(measured)) + " |\n")
    return "\n".join(out)


def main(argv):
    if len(argv) in (3, 4) and argv[1] == "suite":
        print(suite(argv[2:]))
    elif len(argv) in (3, 4) and argv[1] == "profile":
        print(profile(argv[2:]))
    elif len(argv) >= 7 and argv[1] == "compare":
        print(compare(*argv[2:6], argv[6:]))
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv)
