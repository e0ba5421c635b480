#!/usr/bin/env bash
# What school IT does with the package, under Wine in a fresh prefix of its
# own: a silent install of an older package and the new one over it, the
# program started from its Start menu shortcut and from a .krb file, its
# settings in the user's folder, and a silent uninstall that leaves the
# users' settings and nothing else. Needs a display (run it under xvfb-run).
#   test-msi.sh NEW.msi NEW-VERSION OLD.msi
set -euo pipefail
new=$(readlink -f "$1")
new_version=$2
old=$(readlink -f "$3")

scratch=$(mktemp -d)
trap 'wineserver -k 2>/dev/null || true; rm -rf "$scratch"' EXIT
export WINEPREFIX="$scratch/prefix"
export WINEDEBUG=-all
# No .NET or browser engine to install, no desktop menu entries to write.
export WINEDLLOVERRIDES="mscoree,mshtml=,winemenubuilder.exe=d"
wineboot --init >/dev/null 2>&1 || true
wineserver -w
c="$WINEPREFIX/drive_c"
program="$c/Program Files/Kirabo"
# Windows puts a per-machine package's shortcut into the Start menu of all
# users; Wine's installer puts it into the installing user's.
start_menus=("$c/ProgramData/Microsoft/Windows/Start Menu/Programs" "$c"/users/*/AppData/Roaming/Microsoft/Windows/"Start Menu"/Programs)
find_shortcut() {
  local m
  for m in "${start_menus[@]}"; do
    if [ -f "$m/Kirabo.lnk" ]; then echo "$m/Kirabo.lnk"; return; fi
  done
}

passed=0
failed=0
check() { # check WHAT COMMAND...
  local what=$1
  shift
  if "$@"; then
    echo "ok: $what"
    passed=$((passed + 1))
  else
    echo "FAILED: $what" >&2
    failed=$((failed + 1))
  fi
}
msiexec() { # msiexec /i|/x PACKAGE
  wine msiexec "$1" "$(winepath -w "$2")" /qn /l*v "$(winepath -w "$scratch/msiexec.log")" >/dev/null 2>&1
  wineserver -w
}
uninstall_entries() {
  wine reg export 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' "$(winepath -w "$scratch/u.reg")" \
    /y >/dev/null 2>&1 || true
  iconv -f UTF-16LE -t UTF-8 "$scratch/u.reg" 2>/dev/null | tr -d '\r'
}
registry_has() { wine reg query "$1" >/dev/null 2>&1; }
# Starts a Windows command, waits for Kirabo's window, closes it as the
# close box does (taskkill without /f asks the window to close) and waits
# for the program to end.
run_and_close() {
  (wine start /wait "$@" >/dev/null 2>&1 &)
  xdotool search --sync --onlyvisible --name '^Kirabo$' >/dev/null 2>&1 &
  local finder=$!
  local found=0
  for _ in $(seq 120); do
    if ! kill -0 "$finder" 2>/dev/null; then found=1; break; fi
    sleep 0.5
  done
  kill "$finder" 2>/dev/null || true
  wine taskkill /im kirabo.exe >/dev/null 2>&1 || true
  for _ in $(seq 60); do
    pgrep -f 'kirabo\.exe' >/dev/null || break
    sleep 0.5
  done
  wineserver -w
  [ "$found" = 1 ]
}

msiexec /i "$old"
check "the older package installs silently" test -f "$program/kirabo.exe"
msiexec /i "$new"
entries=$(uninstall_entries)
check "the new package replaces the older in place: one entry in Apps & features" \
  test "$(grep -c '^"DisplayName"="Kirabo"$' <<<"$entries")" = 1
check "the entry names the new version and the publisher" \
  grep -q -e "^\"DisplayVersion\"=\"$new_version\"$" <<<"$entries"
check "... and the publisher" grep -q '^"Publisher"="Kirabo"$' <<<"$entries"
check "the program, its Qt and its plug-ins are in Program Files\\Kirabo" \
  test -f "$program/kirabo.exe" -a -f "$program/Qt6Widgets.dll" -a -f "$program/platforms/qwindows.dll"
check "the guide, its pictures and the sample class are beside it" \
  test -f "$program/guide/index.html" -a -f "$program/guide/images/roster-page.png" -a -f "$program/guide/sample/sample-class.csv"
shortcut=$(find_shortcut)
check "the Start menu has the shortcut Kirabo" test -n "$shortcut"
check ".krb files open in Kirabo" registry_has 'HKLM\Software\Classes\Kirabo.Settings\shell\open\command'

check "the shortcut starts Kirabo and its window shows" run_and_close "$(winepath -w "$shortcut")"
settings=$(ls "$c"/users/*/AppData/Local/Kirabo/kirabo.ini 2>/dev/null | head -1 || true)
check "the user's settings are in the user's AppData\\Local\\Kirabo" test -n "$settings"
check "nothing is written into Program Files\\Kirabo" test ! -e "$program/kirabo.ini"

# A settings file opened from the desktop: its layout and title are what the
# program then writes into the user's settings at its close.
printf '[0]\r\n0=\x81\x7e\r\n[\x90\xdd\x92\xe8]\r\n\x88\xf3\x8d\xfc\x83\x5e\x83\x43\x83\x67\x83\x8b=IT\r\n' \
  >"$c/users/Public/class.krb"
check "a .krb file opened from the desktop starts Kirabo with it" \
  run_and_close "$(winepath -w "$c/users/Public/class.krb")"
holds() { grep -q -a "$1" "$settings"; }
check "... and its layout is the one Kirabo keeps" holds $'^0=\x81\x7e\r$'
check "... and its title too" holds $'=IT\r$'

msiexec /x "$new"
check "the silent uninstall leaves no program file" test -z "$(find "$program" -type f 2>/dev/null)"
check "... nor the shortcut" test -z "$(find_shortcut)"
check "... nor the file type" bash -c "! wine reg query 'HKLM\\Software\\Classes\\.krb' >/dev/null 2>&1"
check "... nor the entry in Apps & features" bash -c "! grep -q 'Kirabo' <<<\"\$0\"" "$(uninstall_entries)"
check "the user's settings stay: they belong to the user" test -f "$settings"

echo "installer: $passed passed, $failed failed"
[ "$failed" = 0 ]
