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
# Needs root (debootstrap, chroot) and Debian's archive. Downloaded packages
# are kept in /var/cache/kirabo-prove between runs; the root is always new.
# --keep leaves the root in place for a look afterwards.
set -euo pipefail
cd "$(dirname "$0")/.."

keep=0
[ "${1:-}" = "--keep" ] && keep=1
[ "$(id -u)" -eq 0 ] || { echo "prove-package: run as root (debootstrap and chroot need it)" >&2; exit 1; }

bash scripts/setup.sh --with-package-tools
bash scripts/package.sh
deb=$(ls -t build/rel/kirabo_*.deb | head -n1)
echo "== package: $deb"

mirror=$(sed -n 's/^URIs: *//p' /etc/apt/sources.list.d/debian.sources 2>/dev/null | head -n1)
mirror=${mirror:-http://deb.debian.org/debian}
cache=/var/cache/kirabo-prove
root=$(mktemp -d /var/tmp/kirabo-prove.XXXXXX)
# The root of the new system must be open to its ordinary user.
chmod 755 "$root"
mkdir -p "$cache"

cleanup() {
  for m in var/cache/apt/archives dev/pts dev proc sys; do
    mountpoint -q "$root/$m" && umount -l "$root/$m"
  done
  if [ "$keep" -eq 0 ]; then rm -rf --one-file-system "$root"; else echo "root kept in $root"; fi
}
trap cleanup EXIT

echo "== debootstrap bookworm (minbase) into $root from $mirror"
debootstrap --variant=minbase --cache-dir="$cache" bookworm "$root" "$mirror" >"$root.debootstrap.log" 2>&1 ||
  { tail -n 30 "$root.debootstrap.log"; exit 1; }
rm -f "$root.debootstrap.log"

mount -t proc proc "$root/proc"
mount -t sysfs sys "$root/sys"
mount --bind /dev "$root/dev"
mount --bind /dev/pts "$root/dev/pts"
cp /etc/resolv.conf "$root/etc/resolv.conf"
in_root() { chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root "$@"; }

echo "== apt install ./$(basename "$deb") xvfb xdotool x11-utils"
cp "$deb" "$root/tmp/"
# apt's downloads are kept in the same cache as debootstrap's.
mkdir -p "$cache/apt"
mount --bind "$cache/apt" "$root/var/cache/apt/archives"
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
