#!/usr/bin/env bash
# Takes screenshots of the window's three pages and of the projector view under a real X server (Xvfb)
# and stores them in docs/.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh --with-display-tools
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build/test --target kirabo_screenshots
unset QT_QPA_PLATFORM
xvfb-run -a -s "-screen 0 1024x768x24" build/test/tests/kirabo_screenshots docs tests/data/e2e/class30.csv
# The projector view on a classroom projector's usual screens.
xvfb-run -a -s "-screen 0 1920x1080x24" build/test/tests/kirabo_screenshots docs tests/data/e2e/class30.csv \
  projector-1920x1080.png
xvfb-run -a -s "-screen 0 1280x800x24" build/test/tests/kirabo_screenshots docs tests/data/e2e/class30.csv \
  projector-1280x800-announce.png
ls -l docs/*.png
