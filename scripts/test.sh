#!/usr/bin/env bash
# Installs what is missing, builds Kirabo with its tests and runs every test:
# once in a normal build, once under AddressSanitizer and
# UndefinedBehaviorSanitizer. Warnings are errors in both.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

echo "== build and test"
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKIRABO_WERROR=ON >/dev/null
cmake --build build/test -j "$jobs"
(cd build/test && ctest -j "$jobs" --output-on-failure)

echo "== build and test under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKIRABO_WERROR=ON -DKIRABO_SANITIZE=ON \
  -DKIRABO_BENCH=OFF >/dev/null
cmake --build build/asan -j "$jobs"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
(cd build/asan && ctest -j "$jobs" --output-on-failure)
