#!/usr/bin/env bash
# Builds and runs the benchmarks under a real X server (Xvfb), then starts the
# program and a bare Qt window in turn, and ends with one table: every figure
# beside its baseline from the same run, as a ratio or a difference.
#
#   bash scripts/bench.sh [benchmark options, e.g. --benchmark_filter='Spin|Stop']
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh --with-display-tools
# The release build the package uses too.
cmake -S . -B build/rel -G Ninja -DCMAKE_BUILD_TYPE=Release -DKIRABO_TESTS=OFF -DKIRABO_BENCH=ON >/dev/null
cmake --build build/rel --target kirabo_bench kirabo_startup
unset QT_QPA_PLATFORM
xvfb-run -a -s "-screen 0 1280x1024x24" python3 scripts/bench_table.py build/rel/bench "$@"
