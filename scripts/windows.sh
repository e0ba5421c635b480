#!/usr/bin/env bash
# Kirabo for 64-bit Windows: builds the minimal Qt for Windows once (cached
# under the user's cache directory), cross-builds Kirabo and its tests against
# it, runs the tests under Wine and lays out the portable folder, zipped as
# Kirabo-win64.zip in the project folder, and the same files as a Windows
# Installer package, Kirabo-<version>-x64.msi; its install, upgrade, start and
# uninstall are tested under Wine with the other tests.
#   --no-tests   builds the program, the zip and the package only
#   --tests-only builds and runs the tests only (what scripts/test.sh runs)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

run_tests=1
make_zip=1
case "${1:-}" in
  --no-tests) run_tests=0 ;;
  --tests-only) make_zip=0 ;;
  "") ;;
  *) echo "usage: $0 [--no-tests|--tests-only]" >&2; exit 2 ;;
esac

bash scripts/setup.sh --with-windows-tools
qt=$(bash scripts/windows/build-qt.sh | tail -1)
build=build/win64
# Qt's Japanese translations, the same release's, come from Debian's package.
mkdir -p "$qt/translations"
cp -u /usr/share/qt6/translations/qtbase_ja.qm "$qt/translations/"

echo "== cross-building Kirabo for Windows against $qt"
# The toolchain is named again, as the Qt in the cache may have been built
# from another checkout of this project.
"$qt/bin/qt-cmake" -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKIRABO_WERROR=ON \
  -DQT_CHAINLOAD_TOOLCHAIN_FILE="$root/scripts/windows/mingw-w64-x86_64.cmake" \
  -DCMAKE_CROSSCOMPILING_EMULATOR=wine -DKIRABO_TESTS=$([ $run_tests = 1 ] && echo ON || echo OFF) >/dev/null
cmake --build "$build" -j "$(nproc)"

source scripts/windows/wine-env.sh

if [ $run_tests = 1 ]; then
  echo "== the Windows suites under Wine"
  # Wine has none of the Windows faces: the IPA faces stand in.
  ipa=$(dirname "$(readlink -f "$(fc-match -f '%{file}' IPAGothic)")")
  (cd "$build" && KIRABO_TEST_FONTDIR="Z:${ipa//\//\\}" ctest --output-on-failure)
fi

version=$(sed -n 's/^project(Kirabo VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt).0

echo "== laying out Kirabo-win64"
dist="$build/Kirabo-win64"
rm -rf "$dist"
mkdir -p "$dist/platforms" "$dist/imageformats" "$dist/styles" "$dist/translations"
cp "$build/kirabo.exe" "$dist/"
for lib in Qt6Core Qt6Gui Qt6Widgets Qt6PrintSupport; do cp "$qt/bin/$lib.dll" "$dist/"; done
for dll in libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll; do
  cp "$(x86_64-w64-mingw32-g++-posix -print-file-name=$dll)" "$dist/"
done
cp "$qt/plugins/platforms/qwindows.dll" "$dist/platforms/"
cp "$qt/plugins/imageformats/qjpeg.dll" "$dist/imageformats/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$dist/styles/"
cp "$qt/translations/qtbase_ja.qm" "$dist/translations/"
# The teachers' guide and the sample class as files beside the program
# (which carries them too, and shows the guide with F1).
cp -r docs/guide "$dist/guide"
# Qt looks for its plug-ins and translations beside the program.
printf '[Paths]\r\nPrefix=.\r\nPlugins=.\r\nTranslations=translations\r\n' >"$dist/qt.conf"
# The run-time libraries come with their debugging symbols, which a
# teacher's copy does not need.
find "$dist" \( -name '*.exe' -o -name '*.dll' \) -print0 | xargs -0 x86_64-w64-mingw32-strip --strip-unneeded

if [ $make_zip = 1 ]; then
  rm -f Kirabo-win64.zip
  (cd "$build" && cmake -E tar cf "$root/Kirabo-win64.zip" --format=zip Kirabo-win64)
  echo "== Kirabo-win64.zip: $(du -k Kirabo-win64.zip | cut -f1) KiB"
  # The same files as a Windows Installer package for a school's PCs.
  bash scripts/windows/msi.sh "$dist" "$version" "Kirabo-$version-x64.msi"
  echo "== Kirabo-$version-x64.msi: $(du -k "Kirabo-$version-x64.msi" | cut -f1) KiB"
fi

if [ $run_tests = 1 ]; then
  echo "== the installer under Wine: install, upgrade, start, uninstall"
  bash scripts/windows/msi.sh "$dist" "$version" "$build/Kirabo-test-x64.msi"
  bash scripts/windows/msi.sh "$dist" 1.9.0 "$build/Kirabo-older-x64.msi"
  xvfb-run -a -s "-screen 0 1280x1024x24" \
    bash scripts/windows/test-msi.sh "$build/Kirabo-test-x64.msi" "$version" "$build/Kirabo-older-x64.msi"
fi
