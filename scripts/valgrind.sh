#!/usr/bin/env bash
# Runs the end-to-end suite under Valgrind's memcheck: no invalid access, no
# use of uninitialised memory and no definite leak may come from Kirabo's own
# code. What the system's libraries keep for the life of the process (fonts,
# the offscreen platform) is suppressed in scripts/valgrind.supp, by library.
# Not part of the test command: it takes several minutes.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh --with-valgrind
export QT_QPA_PLATFORM=offscreen
# Code that PCRE2 compiles at run time is code memcheck knows nothing of.
export QT_ENABLE_REGEXP_JIT=0

cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKIRABO_WERROR=ON >/dev/null
cmake --build build/test -j "$(nproc)" --target test_endtoend

valgrind --tool=memcheck --error-exitcode=1 \
  --leak-check=full --show-leak-kinds=definite --errors-for-leak-kinds=definite \
  --track-origins=yes --num-callers=30 \
  --suppressions=scripts/valgrind.supp \
  build/test/tests/test_endtoend "$@"
