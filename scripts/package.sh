#!/usr/bin/env bash
# Builds the Debian package of Kirabo into build/rel/kirabo_<version>_<arch>.deb.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh --with-package-tools
# The release build the benchmarks use too.
cmake -S . -B build/rel -G Ninja -DCMAKE_BUILD_TYPE=Release -DKIRABO_TESTS=OFF -DKIRABO_BENCH=ON >/dev/null
cmake --build build/rel --target kirabo
(cd build/rel && cpack -G DEB >/dev/null)
deb=$(ls -t build/rel/kirabo_*.deb | head -n1)
echo "$deb"
dpkg-deb --field "$deb" Package Version Depends
