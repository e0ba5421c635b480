#!/usr/bin/env bash
# Takes screenshots of the Windows program's three pages, run under Wine on a
# real X server (Xvfb), into docs/windows-*.png. Wine has none of the Windows
# faces, so the IPA faces stand in, as on Linux. Needs the Qt for Windows that
# scripts/windows.sh builds.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

bash scripts/setup.sh --with-windows-tools --with-display-tools
qt=$(bash scripts/windows/build-qt.sh | tail -1)
build=build/win64
[ -f "$build/build.ninja" ] || bash scripts/windows.sh --no-tests
cmake --build "$build" --target kirabo_screenshots
source scripts/windows/wine-env.sh

shots=$(mktemp -d)
trap 'rm -rf "$shots"' EXIT
unset QT_QPA_PLATFORM QT_SCALE_FACTOR
xvfb-run -a -s "-screen 0 1024x768x24" \
  wine "$build/tests/kirabo_screenshots.exe" "Z:$shots" tests/data/e2e/class30.csv
wineserver -w
for page in roster draw settings; do
  mv "$shots/$page-page.png" "docs/windows-$page-page.png"
done
ls -l docs/windows-*.png
