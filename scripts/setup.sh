#!/usr/bin/env bash
# Installs what Kirabo needs to build, run and test on Debian 12, when it is
# missing. Uses apt-get as root, sudo otherwise.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-private-dev qt6-translations-l10n libqt6printsupport6
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-ipafont-gothic
  cups-daemon cups-client poppler-utils
)
for flag in "$@"; do
  case "$flag" in
    --with-display-tools) packages+=(xvfb xauth x11-apps imagemagick python3) ;;
    # The Debian package and its proof in a fresh Debian root.
    --with-package-tools) packages+=(dpkg-dev file debootstrap libx11-dev) ;;
    --with-fuzzing) packages+=(clang libclang-rt-14-dev) ;;
    --with-valgrind) packages+=(valgrind) ;;
    # The sanitizer run of the test command. The leak checker leaves the
    # threads' thread-local storage unscanned (use_tls=0 in scripts/test.sh),
    # so it must know the blocks the loader allocates for it as its own: its
    # built-in suppression "*tls_get_addr*" matches them by the loader's
    # function name, which only the C library's and the loader's detached
    # symbols give. Without them a fresh machine reports 8 bytes of each
    # loaded library's TLS as a leak of the program.
    --with-sanitizers) packages+=(libc6-dbg) ;;
    # The Windows program: cross compilers, Qt's source, Wine to run it.
    --with-windows-tools)
      packages+=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
                 mingw-w64-x86-64-dev googletest dpkg-dev xz-utils wine wine64 xvfb xauth fontconfig
                 wixl xdotool) ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  sudo=()
else
  sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
