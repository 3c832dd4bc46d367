#!/usr/bin/env bash
# Installs the Debian package into a clean Debian 12 root and checks it there: the program
# starts, exports the default design without a display, and its launcher entry is valid.
# Usage: scripts/test-deb-install.sh [PACKAGE.deb]   (default: the newest build/sigilon_*.deb)
# Needs root, debootstrap and the Debian archive; the root is made afresh, which takes minutes.
set -euo pipefail
cd "$(dirname "$0")/.."

package=$(realpath "${1:-$(ls -1t build/sigilon_*_amd64.deb | head -n 1)}")
mirror=${DEBIAN_MIRROR:-http://deb.debian.org/debian}
root=$(mktemp -d /var/tmp/sigilon-clean-root.XXXXXX)

cleanup() {
  mountpoint -q "$root/proc" && umount "$root/proc"
  rm -rf "$root"
}
trap cleanup EXIT

in_root() { chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root \
  DEBIAN_FRONTEND=noninteractive "$@"; }

echo "== Making a clean Debian 12 root in $root"
debootstrap --variant=minbase bookworm "$root" "$mirror" >"$root.log" 2>&1 ||
  { tail -n 20 "$root.log"; exit 1; }
rm -f "$root.log"
mount -t proc proc "$root/proc"

echo "== Installing $(basename "$package") with the dependencies it declares"
cp "$package" "$root/tmp/"
in_root apt-get update -q
# Without recommended packages: what the package declares must be enough on its own.
in_root apt-get install -y -q --no-install-recommends "/tmp/$(basename "$package")"

echo "== sigilon --version"
in_root sigilon --version

echo "== sigilon export of the default design"
in_root sigilon export --output-dir /tmp/icons/default
count=0
for icon in "$root"/tmp/icons/default/Icon*.png; do
  # Every file is a PNG: its first bytes are the PNG signature.
  [ "$(head -c 8 "$icon" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] ||
    { echo "not a PNG: $icon" >&2; exit 1; }
  count=$((count + 1))
done
[ "$count" -eq 7 ] || { echo "expected the 7 macOS icons, found $count" >&2; exit 1; }

echo "== desktop-file-validate on the installed launcher entry"
in_root apt-get install -y -q --no-install-recommends desktop-file-utils >/dev/null
in_root desktop-file-validate /usr/share/applications/org.sigilon.Sigilon.desktop

echo "== The package installs and runs in a clean Debian 12 root"
