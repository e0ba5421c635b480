#!/usr/bin/env bash
# Proves the README's test command on a brand-new machine: makes a fresh
# Debian 12 root with debootstrap (minimal variant, nothing else installed),
# clones the project's committed HEAD into it, and runs `bash scripts/test.sh`
# there as root with no display, as CI does on a clean clone. Whatever the
# test command needs and does not install itself fails here, while this
# machine, where it is already installed, would hide it.
#
#   bash scripts/prove-fresh.sh [--keep]
#
# Needs root (debootstrap, chroot) and Debian's archive (scripts/fresh-root.sh).
# --keep leaves the root in place, with the clone in /root/kirabo and its
# builds, for a look or a second run afterwards.
set -euo pipefail
cd "$(dirname "$0")/.."

source scripts/fresh-root.sh
fresh_root_make "$@"

echo "== clone $(git rev-parse --short HEAD) into $root/root/kirabo"
git clone --quiet --no-hardlinks "$PWD" "$root/root/kirabo"

echo "== bash scripts/test.sh in the fresh root"
start=$(date +%s)
rc=0
in_root sh -c 'cd /root/kirabo && bash scripts/test.sh' || rc=$?
echo "== test command exited with $rc after $(($(date +%s) - start)) s"
exit "$rc"
