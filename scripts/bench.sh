#!/usr/bin/env bash
# Builds and runs the benchmarks (start-up, roster reading and writing).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DKIRABO_TESTS=OFF -DKIRABO_BENCH=ON >/dev/null
cmake --build build/bench --target kirabo_bench
QT_QPA_PLATFORM=offscreen build/bench/bench/kirabo_bench "$@"
