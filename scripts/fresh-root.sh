# A fresh Debian 12 root (debootstrap, minimal variant) for the proofs that
# must not see what this machine already has installed. Sourced, not run:
#
#   source scripts/fresh-root.sh
#   fresh_root_make [--keep]     # sets $root, mounts, cleans up at exit
#   in_root CMD ...              # runs CMD as root inside, with a bare environment
#
# Needs root (debootstrap, chroot) and Debian's archive. Downloaded packages
# are kept in /var/cache/kirabo-prove between runs; the root is always new.

fresh_root_cache=/var/cache/kirabo-prove
fresh_root_keep=0

fresh_root_cleanup() {
  [ -n "${root:-}" ] || return 0
  for m in var/cache/apt/archives dev/pts dev proc sys; do
    mountpoint -q "$root/$m" && umount -l "$root/$m"
  done
  if [ "$fresh_root_keep" -eq 0 ]; then rm -rf --one-file-system "$root"; else echo "root kept in $root"; fi
}

fresh_root_make() {
  [ "${1:-}" = "--keep" ] && fresh_root_keep=1
  [ "$(id -u)" -eq 0 ] || { echo "$(basename "$0"): run as root (debootstrap and chroot need it)" >&2; exit 1; }
  bash scripts/setup.sh --with-package-tools

  local mirror
  mirror=$(sed -n 's/^URIs: *//p' /etc/apt/sources.list.d/debian.sources 2>/dev/null | head -n1)
  mirror=${mirror:-http://deb.debian.org/debian}
  root=$(mktemp -d /var/tmp/kirabo-prove.XXXXXX)
  # The root of the new system must be open to its ordinary users.
  chmod 755 "$root"
  mkdir -p "$fresh_root_cache/apt"
  trap fresh_root_cleanup EXIT

  echo "== debootstrap bookworm (minbase) into $root from $mirror"
  debootstrap --variant=minbase --cache-dir="$fresh_root_cache" bookworm "$root" "$mirror" >"$root.debootstrap.log" 2>&1 ||
    { tail -n 30 "$root.debootstrap.log"; exit 1; }
  rm -f "$root.debootstrap.log"

  mount -t proc proc "$root/proc"
  mount -t sysfs sys "$root/sys"
  mount --bind /dev "$root/dev"
  mount --bind /dev/pts "$root/dev/pts"
  cp /etc/resolv.conf "$root/etc/resolv.conf"
  # apt's downloads are kept in the same cache as debootstrap's.
  mount --bind "$fresh_root_cache/apt" "$root/var/cache/apt/archives"
}

in_root() { chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root "$@"; }
