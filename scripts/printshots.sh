#!/usr/bin/env bash
# Prints the seat chart of the sample class to PDF through the program's own
# print command, in both views, and renders each page as a PNG in docs/.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build/test --target kirabo_printshots
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
QT_QPA_PLATFORM=offscreen build/test/tests/kirabo_printshots "$out" tests/data/e2e/class30.csv
for view in teachers students; do
  pdftoppm -png -r 80 -singlefile "$out/print-$view-view.pdf" "docs/print-$view-view"
done
ls -l docs/print-*.png
