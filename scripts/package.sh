#!/usr/bin/env bash
# Builds the Debian package of Kirabo into build/package/kirabo_<version>_<arch>.deb.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh --with-package-tools
cmake -S . -B build/package -G Ninja -DCMAKE_BUILD_TYPE=Release -DKIRABO_TESTS=OFF -DKIRABO_BENCH=OFF >/dev/null
cmake --build build/package --target kirabo
(cd build/package && cpack -G DEB >/dev/null)
deb=$(ls -t build/package/kirabo_*.deb | head -n1)
echo "$deb"
dpkg-deb --field "$deb" Package Version Depends
