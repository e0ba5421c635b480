#!/usr/bin/env bash
# Proves the Debian package on a clean machine: builds the .deb, makes a fresh
# Debian 12 root with debootstrap (minimal variant), installs the package there
# with apt together with Xvfb, starts the program from its desktop entry's Exec
# line as an ordinary user, checks that the window appears, closes it as a
# window manager would (WM_DELETE_WINDOW) and checks that the settings file was
# written into the user's configuration folder, since /usr/bin is not writable.
#
#   bash scripts/prove-package.sh [--keep]
#
# Needs root (debootstrap, chroot) and Debian's archive (scripts/fresh-root.sh).
# --keep leaves the root in place for a look afterwards.
set -euo pipefail
cd "$(dirname "$0")/.."

source scripts/fresh-root.sh
[ "$(id -u)" -eq 0 ] || { echo "prove-package: run as root (debootstrap and chroot need it)" >&2; exit 1; }
bash scripts/package.sh
deb=$(ls -t build/rel/kirabo_*.deb | head -n1)
echo "== package: $deb"
fresh_root_make "$@"

echo "== apt install ./$(basename "$deb") xvfb xdotool x11-utils"
cp "$deb" "$root/tmp/"
in_root apt-get update -qq
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
  "/tmp/$(basename "$deb")" xvfb xauth xdotool x11-utils >"$root/tmp/apt.log" 2>&1 ||
  { tail -n 30 "$root/tmp/apt.log"; exit 1; }
umount "$root/var/cache/apt/archives"
echo "   installed: $(in_root dpkg-query -W -f='${Package} ${Version}' kirabo)"

echo "== installed files"
in_root dpkg -L kirabo | sed 's/^/   /'
for f in index.html images/roster-page.png sample/sample-class.csv; do
  [ -s "$root/usr/share/doc/kirabo/guide/$f" ] || { echo "FAIL: the guide's $f is not installed"; exit 1; }
done

desktop=/usr/share/applications/kirabo.desktop
exec_line=$(sed -n 's/^Exec=//p' "$root$desktop")
# Field codes (%f: the file opened with Kirabo) are the launcher's to fill; none here.
exec_line=$(echo "$exec_line" | sed 's/ *%[a-zA-Z]//g')
echo "== Exec line of $desktop: $exec_line"

in_root useradd --create-home --shell /bin/sh teacher
# There is no window manager, and xdotool's windowclose destroys the window
# rather than asking it to close: a small helper sends WM_DELETE_WINDOW, as
# the close box does. It is built here and runs on the root's own libX11.
gcc -O2 -o "$root/tmp/wm-delete" tests/tools/wm_delete.c -lX11
# The whole test runs as that user in the new root: an X server, the program
# from the Exec line, a look for its window, a close, and the settings file.
cat >"$root/tmp/prove.sh" <<EOF
set -eu
export HOME=/home/teacher DISPLAY=:7 LANG=C.UTF-8
Xvfb :7 -screen 0 1024x768x24 -nolisten tcp >/tmp/xvfb.log 2>&1 &
xvfb=\$!
for i in \$(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.2; done
$exec_line >/tmp/kirabo.log 2>&1 &
kirabo=\$!
win=
for i in \$(seq 150); do
  win=\$(xdotool search --onlyvisible --name '^Kirabo\$' 2>/dev/null | head -n1 || true)
  [ -n "\$win" ] && break
  sleep 0.2
done
if [ -z "\$win" ]; then echo "FAIL: no window named Kirabo appeared"; cat /tmp/kirabo.log; kill \$kirabo \$xvfb; exit 1; fi
echo "   window \$win:"; xwininfo -id \$win | grep -E 'Width|Height|Map State' | sed 's/^ */     /'
if [ -e "\$HOME/.config/Kirabo/kirabo.ini" ]; then echo "FAIL: settings file there before the close"; exit 1; fi
sleep 1
/tmp/wm-delete \$win
for i in \$(seq 50); do kill -0 \$kirabo 2>/dev/null || break; sleep 0.2; done
if kill -0 \$kirabo 2>/dev/null; then echo "FAIL: the window did not close"; kill \$kirabo \$xvfb; exit 1; fi
wait \$kirabo && rc=0 || rc=\$?
kill \$xvfb
echo "   kirabo exited with \$rc"
ini="\$HOME/.config/Kirabo/kirabo.ini"
if [ ! -s "\$ini" ]; then echo "FAIL: no settings file at \$ini"; ls -la "\$HOME" "\$HOME/.config" 2>&1; cat /tmp/kirabo.log; exit 1; fi
echo "   settings file \$ini (\$(wc -c <"\$ini") bytes):"; head -n 4 "\$ini" | iconv -f CP932 -t UTF-8 | sed 's/^/     /'
if [ -e /usr/bin/kirabo.ini ]; then echo "FAIL: wrote beside the program"; exit 1; fi
[ \$rc -eq 0 ] || { echo "FAIL: exit code \$rc"; exit 1; }
echo "PASS"
EOF
chmod 755 "$root/tmp/wm-delete" "$root/tmp/prove.sh"
echo "== start from the desktop entry as user 'teacher' under Xvfb, close, look for the settings file"
in_root su teacher -s /bin/sh -c 'sh /tmp/prove.sh'
