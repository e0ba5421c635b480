#!/usr/bin/env bash
# Builds the minimal Qt for 64-bit Windows that Kirabo needs (Core, Gui,
# Widgets, PrintSupport and Test), once, into a cache folder under the user's
# cache directory, from Debian's own source of the Qt that the Linux build uses.
# Prints the install prefix on its last line. Later runs reuse the cache.
# With --cached it only answers: the prefix when the cache holds the build,
# a failure otherwise.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"

qt_version=6.4.2
debian_version=6.4.2+dfsg-10
toolchain="$here/mingw-w64-x86_64.cmake"

configure_options=(
  -DCMAKE_BUILD_TYPE=Release
  -DBUILD_SHARED_LIBS=ON
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
  -DFEATURE_dbus=OFF -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_xml=OFF
  -DFEATURE_concurrent=OFF -DFEATURE_opengl_dynamic=ON
  # Debian's source leaves out the tablet header of the Windows plug-in.
  -DFEATURE_tabletevent=OFF
  -DFEATURE_zstd=OFF -DFEATURE_icu=OFF -DFEATURE_glib=OFF
  -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF
  -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF
  -DFEATURE_system_pcre2=OFF -DFEATURE_system_doubleconversion=OFF
  -DFEATURE_pkg_config=OFF
)

cache_root="${XDG_CACHE_HOME:-$HOME/.cache}/kirabo"
# The folder's name carries a digest of everything that shapes the build, so a
# changed option or compiler builds a fresh Qt instead of reusing a stale one.
digest=$( (printf '%s\n' "$debian_version" "${configure_options[@]}"; cat "$toolchain";
           x86_64-w64-mingw32-g++-posix --version 2>/dev/null | head -1) | sha256sum | cut -c1-12)
prefix="$cache_root/qt-$qt_version-win64-$digest"
if [ -f "$prefix/.complete" ]; then
  echo "$prefix"
  exit 0
fi
[ "${1:-}" = --cached ] && exit 1

work="$cache_root/work-$digest"
rm -rf "$work" "$prefix"
mkdir -p "$work/apt/lists/partial" "$work/apt/cache/archives/partial"

# A private source list adds Debian's source archive without touching the
# machine's own lists.
echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian bookworm main" \
  >"$work/apt/sources.list"
apt_options=(-o "Dir::Etc::SourceList=$work/apt/sources.list" -o Dir::Etc::SourceParts=/dev/null
             -o "Dir::State::Lists=$work/apt/lists" -o "Dir::Cache=$work/apt/cache"
             -o APT::Sandbox::User=root)
echo "== fetching Debian's Qt $debian_version source" >&2
apt-get "${apt_options[@]}" update -qq >&2
(cd "$work" && apt-get "${apt_options[@]}" source --download-only -qq "qt6-base=$debian_version" >&2)
(cd "$work" && dpkg-source -q -x qt6-base_*.dsc source >&2)

echo "== configuring Qt for Windows into $prefix" >&2
host_cmake_dir=$(dirname "$(dirname "$(dpkg -L qt6-base-dev | grep -m1 '/cmake/Qt6/Qt6Config.cmake$')")")
cmake -S "$work/source" -B "$work/build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="$host_cmake_dir" \
  "${configure_options[@]}" >"$work/configure.log" 2>&1 \
  || { tail -40 "$work/configure.log" >&2; exit 1; }

echo "== building Qt for Windows (about half an hour the first time)" >&2
start=$(date +%s)
cmake --build "$work/build" -j "$(nproc)" >"$work/build.log" 2>&1 \
  || { tail -40 "$work/build.log" >&2; exit 1; }
cmake --install "$work/build" >"$work/install.log" 2>&1 \
  || { tail -40 "$work/install.log" >&2; exit 1; }
echo "== Qt for Windows built in $(( $(date +%s) - start )) s" >&2
touch "$prefix/.complete"
rm -rf "$work"
echo "$prefix"
