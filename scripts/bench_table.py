"""Runs Kirabo's benchmarks and prints one table of ratios (scripts/bench.sh).

Usage: bench_table.py BENCH_FOLDER [benchmark options]

The Google Benchmark program runs first, with the options given, and its
counters are read from its JSON output. Then the start-up program is started
in turn as the real window and as a bare Qt window of the same size, RUNS
times each, for the time to the first painted window and the peak memory.
Every figure is shown beside its baseline from this same run.
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

    for key, figure, baseline, goal in (
            ("RatioRosterOpenSave", "10,000-student roster opened and saved", "cp of the same file", 20),
            ("RatioCloseSettingsWrite", "the close write of the settings file", "one write of the same bytes", 2),
            ("RatioPrintPdf", "the printout composed and written as PDF", "an empty one-page PDF by QPrinter", 3)):
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
