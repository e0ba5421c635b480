#!/usr/bin/env bash
# Installs what is missing, builds Kirabo and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DKIRABO_TESTS=OFF -DKIRABO_BENCH=OFF >/dev/null
cmake --build build/release --target kirabo
exec build/release/kirabo
