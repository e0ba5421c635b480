#!/usr/bin/env bash
# Installs what is missing, builds Kirabo with its tests and runs every test:
# once in a normal build, once under AddressSanitizer and
# UndefinedBehaviorSanitizer. Warnings are errors in both. Then the Windows
# suites under Wine, where the Qt for Windows has been built.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh --with-sanitizers
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
# use_tls=0: the leak checker's walk of the threads' dynamic TLS crashes on
# this system's C library for some programs ("Tracer caught signal 11" at
# exit); without it, an object reachable only from TLS would be reported as
# a leak, never hidden. The loader's own TLS blocks are told apart by the
# leak checker's built-in suppression, which needs the loader's symbols:
# scripts/setup.sh --with-sanitizers installs them (libc6-dbg).
export LSAN_OPTIONS="use_tls=0:suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
if ! (cd build/asan && ctest -j "$jobs" --output-on-failure); then
  # The log of a long run is often cut in the middle where it is shown: the
  # sanitizers' reports come again at its end, their first frames only.
  echo "== sanitizer reports of the failed tests"
  grep -h -E -A24 "ERROR: (LeakSanitizer|AddressSanitizer)|runtime error:" build/asan/Testing/Temporary/LastTest.log \
    | grep -v -E "^\s*$" | head -200 || true
  exit 1
fi

# The Windows program's suites, cross-built and run under Wine, when this
# machine holds the Qt for Windows that scripts/windows.sh builds (it takes
# half an hour to build, so the test command does not build it).
if bash scripts/windows/build-qt.sh --cached >/dev/null 2>&1; then
  echo "== build and test the Windows program under Wine"
  bash scripts/windows.sh --tests-only
else
  echo "== Windows suites skipped: no Qt for Windows in the cache (bash scripts/windows.sh builds it)"
fi
