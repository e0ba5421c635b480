"""Compares the start-up of two builds in the same run (docs/performance.md).

Usage: xvfb-run -a -s "-screen 0 1280x1024x24" python3 scripts/startup_compare.py BENCH_FOLDER_A BENCH_FOLDER_B [ROUNDS]

Each round starts, for each build in turn, the bare window and the program
(kirabo_startup bare|window, as scripts/bench_table.py starts them), so that
both builds meet the same moments of a shared machine. Prints for each build
the median of the rounds' ratios, the ratio of the medians, and the peak
memory's ratio.
"""

import os
import statistics
import sys

# The table's own way of starting a program, from the script beside this one.
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import bench_table  # noqa: E402


def main():
    folders = sys.argv[1:3]
    rounds = int(sys.argv[3]) if len(sys.argv) > 3 else 31
    programs = [os.path.join(f, "kirabo_startup") for f in folders]
    for p in programs:  # the first starts fill the disk cache
        bench_table.start_once(p, "bare")
        bench_table.start_once(p, "window")
    runs = {p: {"bare": [], "window": []} for p in programs}
    for _ in range(rounds):
        for p in programs:
            for mode in ("bare", "window"):
                runs[p][mode].append(bench_table.start_once(p, mode))
    for folder, p in zip(folders, programs):
        bare, window = runs[p]["bare"], runs[p]["window"]
        per_round = statistics.median(w[0] / b[0] for w, b in zip(window, bare))
        paint_w, paint_b = statistics.median(w[0] for w in window), statistics.median(b[0] for b in bare)
        peak_w, peak_b = (statistics.median(r[1] for r in window) / 1024,
                          statistics.median(r[1] for r in bare) / 1024)
        print(f"{folder}: start-up {per_round:.2f} x (median of {rounds} rounds' ratios), "
              f"{paint_w:.1f} / {paint_b:.1f} ms = {paint_w / paint_b:.2f} x; "
              f"peak memory {peak_w:.1f} / {peak_b:.1f} MiB = {peak_w / peak_b:.2f} x")


if __name__ == "__main__":
    main()
