"""Runs Kirabo's benchmarks and prints one table of ratios (scripts/bench.sh).

Usage: bench_table.py BENCH_FOLDER [benchmark options]

The Google Benchmark program runs first, with the options given, and its
counters are read from its JSON output. Then the start-up program is started
in turn as the real window and as a bare Qt window of the same size, RUNS
times each, for the time to the first painted window and the peak memory.
Every figure is shown beside its baseline from this same run; the
look-ahead's turn beside the spin's tick of 100 ms it has to fit in, and the
simulated draws' counts beside what they must be.
"""

import json
import os
import platform
import statistics
import subprocess
import sys
import tempfile
import time

RUNS = 9


def machine():
    model = "unknown processor"
    with open("/proc/cpuinfo", encoding="utf-8") as f:
        for line in f:
            if line.startswith("model name"):
                model = line.split(":", 1)[1].strip()
                break
    load = os.getloadavg()[0]
    return f"{model}, {os.cpu_count()} cores, Linux {platform.release()}, load average {load:.1f} at the start"


def run_benchmarks(folder, options):
    with tempfile.NamedTemporaryFile(suffix=".json", delete=False) as out:
        path = out.name
    try:
        subprocess.run([os.path.join(folder, "kirabo_bench"), f"--benchmark_out={path}",
                        "--benchmark_out_format=json", *options], check=True)
        with open(path, encoding="utf-8") as f:
            report = json.load(f)
    finally:
        os.unlink(path)
    counters = {}
    for b in report.get("benchmarks", []):
        counters[b["name"].split("/")[0].removeprefix("BM_")] = b
    return counters


def start_once(program, mode):
    env = dict(os.environ, KIRABO_T0_NS=str(time.clock_gettime_ns(time.CLOCK_MONOTONIC)))
    out = subprocess.run([program, mode], env=env, check=True, capture_output=True, text=True).stdout
    fields = dict(item.split("=") for item in out.split())
    return float(fields["paint_ms"]), float(fields["peak_kb"])


def run_startups(folder):
    program = os.path.join(folder, "kirabo_startup")
    start_once(program, "bare")  # the first start fills the disk cache for both
    start_once(program, "window")
    window, bare = [], []
    for _ in range(RUNS):
        bare.append(start_once(program, "bare"))
        window.append(start_once(program, "window"))
    med = lambda runs, i: statistics.median(r[i] for r in runs)
    return {"paint": (med(window, 0), med(bare, 0)), "peak": (med(window, 1) / 1024, med(bare, 1) / 1024)}


TICK_MS = 100  # Timer1's interval: the spin's tick


def look_ahead(rows, counters, missing):
    """The rows of the look-ahead under conditions (bench/bench_plan.cpp)."""
    tick = "the spin's tick, 100 ms"

    def share_of_tick(figure, ms):
        r = ms / TICK_MS
        rows.append((figure, tick, f"{ms:.2f} ms", f"{TICK_MS} ms", f"{r * 100:.2f} %", "≤ 5 %",
                     "yes" if r <= 0.05 else "no"))

    for key, what, quantiles in (
            ("PlanTurn", "48 students, 12 front seats, 12 pairs apart, 10 rounds", (("median", "turn_median_ms"),
                                                                                      ("worst", "turn_worst_ms"))),
            ("PlanTurnSqueezed", "the 12 front seats squeezed into the first two rows", (("worst", "turn_worst_ms"),)),
            ("PlanTurnSqueezedHistory", "squeezed, and their 10 rounds among themselves",
             (("worst", "turn_worst_ms"),))):
        b = counters.get(key)
        if not b:
            missing(f"look-ahead of the first turn ({what})", tick, "≤ 5 %")
            continue
        for label, field in quantiles:
            share_of_tick(f"look-ahead of the first turn, {label} of {int(b['timed']):,} classes ({what}; "
                          f"the search drew in {int(b['searched']):,})", b[field])

    for key, what in (("PlanWholeDraws", "4 to 24 students"), ("PlanWholeDrawsFull", "48 students")):
        b = counters.get(key)
        figure = f"whole draws under random conditions ({what}): dead ends, broken conditions"
        if not b:
            missing(figure, "none", "0")
            continue
        bad = int(b["dead_ends"]), int(b["broken"])
        rows.append((figure, "none", f"{bad[0]}, {bad[1]}", "0, 0", f"in {int(b['draws']):,} draws", "0",
                     "yes" if bad == (0, 0) else "no"))

    b = counters.get("NeighbourRuleRefusals")
    figure = "stops the neighbour rule refuses, classic draw of 48"
    if b:
        rows.append((f"{figure} ({int(b['draws']):,} draws)", "every stop", f"{int(b['refused']):,}",
                     f"{int(b['stops']):,}", f"{b['refused_share_pct']:.2f} %", "—", "—"))
    else:
        missing(figure, "every stop", "—")

    b = counters.get("PlanUniform")
    figure = "chi-square of whole seatings of a class of 10 under conditions"
    if b:
        chi, limit = b["chi_square"], b["limit_0_1pct"]
        rows.append((f"{figure} ({int(b['seatings']):,} seatings, {int(b['draws']):,} draws)",
                     f"its 0.1 % limit, {int(b['freedom']):,} degrees of freedom", f"{chi:.0f}", f"{limit:.0f}",
                     f"{chi / limit:.3f} ×", "≤ 1 ×", "yes" if chi <= limit and b["outside"] == 0 else "no"))
    else:
        missing(figure, "its 0.1 % limit", "≤ 1 ×")


def main():
    folder, options = sys.argv[1], sys.argv[2:]
    where = machine()
    counters = run_benchmarks(folder, options)
    startups = run_startups(folder)

    rows = []

    def ratio(figure, baseline, subject, base, unit, goal):
        r = subject / base
        rows.append((figure, baseline, f"{subject:.1f} {unit}", f"{base:.1f} {unit}", f"{r:.2f} ×",
                     f"≤ {goal} ×", "yes" if r <= goal else "no"))

    def missing(figure, baseline, goal):
        rows.append((figure, baseline, "—", "—", "not run", goal, "—"))

    paint_w, paint_b = startups["paint"]
    ratio("start-up to the first painted window (Xvfb)", "bare Qt window, same size, one line in IPA Gothic",
          paint_w, paint_b, "ms", 1.25)
    peak_w, peak_b = startups["peak"]
    ratio("peak memory 1.5 s after start-up", "the same bare window", peak_w, peak_b, "MiB", 1.15)

    spin = counters.get("SpinTick")
    if spin:
        for label, key, goal in (("median", "median", 0.5), ("99th percentile", "p99", 1.0)):
            s, b = spin[f"tick_{key}_ms"], spin[f"bare_{key}_ms"]
            d = s - b
            # A tick steadier than the bare timer's is no fault: only lateness counts.
            rows.append((f"tick period over 200 ticks, {label}", "bare 100 ms PreciseTimer updating a label",
                         f"{s:.2f} ms", f"{b:.2f} ms", f"{d:+.2f} ms", f"at most {goal} ms above",
                         "yes" if d <= goal else "no"))
        cpu = spin["spin_cpu_pct"]
        rows.append(("CPU while spinning", "one core", f"{cpu:.2f} %", "100 %", f"{cpu / 100:.4f} ×", "< 1 %",
                     "yes" if cpu < 1 else "no"))
    else:
        missing("tick period and CPU while spinning", "bare 100 ms PreciseTimer", "—")

    look_ahead(rows, counters, missing)

    journal = counters.get("StopJournal")
    if journal:
        for label, key in (("median", "median"), ("99th percentile", "p99")):
            j, p = journal[f"journal_{key}_ms"], journal[f"plain_{key}_ms"]
            rows.append((f"Stop click to announcement with the journal written and flushed, {label}",
                         "the same stop in a window without a journal", f"{j:.2f} ms", f"{p:.2f} ms",
                         f"{j - p:+.2f} ms", "at most 20 ms above" if key == "p99" else "—",
                         ("yes" if j - p <= 20 else "no") if key == "p99" else "—"))
    else:
        missing("Stop click to announcement with the journal", "the same stop without a journal", "—")

    for key, figure, baseline, goal in (
            ("RatioRosterOpenSave", "10,000-student roster opened and saved", "cp of the same file", 20),
            ("RatioCloseSettingsWrite", "the close write of the settings file", "one write of the same bytes", 2),
            ("RatioPrintPdf", "the printout composed and written as PDF",
             "a one-page PDF by QPrinter of one line of Japanese in the chart's face", 1.5)):
        b = counters.get(key)
        if b:
            ratio(figure, baseline, b["subject_ms"], b["baseline_ms"], "ms", goal)
        else:
            missing(figure, baseline, f"≤ {goal} ×")

    print()
    print(f"Machine: {where}")
    print()
    head = ("Figure", "Baseline in the same run", "Kirabo", "Baseline", "Ratio / difference", "Goal", "Met")
    print("| " + " | ".join(head) + " |")
    print("|" + "---|" * len(head))
    for row in rows:
        print("| " + " | ".join(row) + " |")


if __name__ == "__main__":
    main()
