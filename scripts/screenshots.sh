#!/usr/bin/env bash
# Takes screenshots of the window's three pages and of the projector view
# under a real X server (Xvfb) and stores them in docs/: the pages once at
# 100 % and once at 200 % (QT_SCALE_FACTOR=2) as docs/hidpi-*.png. Then the
# pictures of the teachers' guide, into docs/guide/images/; the program
# carries them, so build it again afterwards.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh --with-display-tools
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build/test --target kirabo_screenshots
unset QT_QPA_PLATFORM QT_SCALE_FACTOR
xvfb-run -a -s "-screen 0 1024x768x24" build/test/tests/kirabo_screenshots docs tests/data/e2e/class30.csv
hidpi=$(mktemp -d)
trap 'rm -rf "$hidpi"' EXIT
QT_SCALE_FACTOR=2 xvfb-run -a -s "-screen 0 1600x1280x24" \
  build/test/tests/kirabo_screenshots "$hidpi" tests/data/e2e/class30.csv
for page in roster draw settings; do
  mv "$hidpi/$page-page.png" "docs/hidpi-$page-page.png"
done
# The projector view on a classroom projector's usual screens.
xvfb-run -a -s "-screen 0 1920x1080x24" build/test/tests/kirabo_screenshots docs tests/data/e2e/class30.csv \
  projector-1920x1080.png
xvfb-run -a -s "-screen 0 1280x800x24" build/test/tests/kirabo_screenshots docs tests/data/e2e/class30.csv \
  projector-1280x800-announce.png
# The guide's pictures: a first start, the sample class opened from the
# guide, drawn (the projector view on a 1280 x 800 screen), saved and printed.
xvfb-run -a -s "-screen 0 1280x800x24" build/test/tests/kirabo_screenshots --guide docs/guide/images
ls -l docs/*.png docs/guide/images/*.png
