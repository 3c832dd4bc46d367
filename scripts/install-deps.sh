#!/usr/bin/env bash
# Installs what Sigilon needs to build, run and test on Debian 12 (run as root).
# Packages already present are left alone, so a second run is quick.
set -euo pipefail

packages=(
  # toolchain
  g++ cmake make pkg-config clang-format ccache
  # the sanitizer build and the fuzz targets (clang's ASan, UBSan and libFuzzer runtimes)
  clang libclang-rt-14-dev
  # Qt 6, image format plugins (TIFF and others) and the Wayland platform plugin (the editor
  # runs on a Wayland desktop without XWayland)
  qt6-base-dev qt6-image-formats-plugins qt6-wayland libgl-dev
  # encoders
  libopenjp2-7-dev libgif-dev libimagequant-dev libdeflate-dev zlib1g-dev
  # SVG icon images, and the reference drawings their tests compare with
  librsvg2-dev librsvg2-bin libseccomp-dev
  # the running window and its tests
  xvfb xauth x11-utils imagemagick xdotool
  # checks of the installed launcher entry, AppStream data, MIME type and manual page
  desktop-file-utils appstream libxml2-utils man-db
  # the Debian package and its test in a clean Debian root
  dpkg-dev debootstrap
)
# The free faces standing in for the design's font families; the Debian package depends on
# the same list.
while read -r package; do
  [[ -z "$package" || "$package" == \#* ]] || packages+=("$package")
done < "$(dirname "$0")/font-packages.txt"

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages: ${missing[*]}" >&2
    echo "Run this script as root to install them." >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update
  apt-get install -y --no-install-recommends "${missing[@]}"
fi
