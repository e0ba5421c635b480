#!/usr/bin/env bash
# Builds the Windows Installer package of a laid-out Kirabo-win64 folder with
# wixl: every file of the folder under Program Files\Kirabo, and what
# kirabo.wxs adds. Seconds, not minutes.
#   msi.sh FOLDER VERSION OUTPUT.msi
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
dist=$(cd "$1" && pwd)
version=$2
out=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# wixl takes its sources by relative names: the folder and the icon are
# linked into the work folder, and everything is named from there.
ln -s "$dist" "$work/files"
cp "$here/../../resources/kirabo.ico" "$work/kirabo.ico"
cp "$here/kirabo.wxs" "$work/kirabo.wxs"
out=$(cd "$(dirname "$out")" && pwd)/$(basename "$out")
cd "$work"
# The folder's files as components, one each, under INSTALLDIR.
(cd files/ && find . -type f | sed 's|^\./|files/|' | sort) \
  | wixl-heat --prefix files/ --directory-ref INSTALLDIR --component-group ProgramFiles \
      --var var.SourceDir >files.wxs
wixl --arch x64 -D SourceDir=files -D Version="$version" -D IconFile=kirabo.ico -o "$out" kirabo.wxs files.wxs
