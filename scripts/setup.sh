#!/bin/sh
# Installs the Debian packages that building, running and testing need,
# skipping those already present. Uses sudo when not run as root.
set -e
packages="build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-multimedia-dev libx11-dev librsvg2-bin fonts-liberation
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool poppler-utils
  clang libclang-rt-14-dev
  libpng-dev libxtst-dev libxdamage-dev
  qt6-wayland weston libweston-10-dev
  dpkg-dev fakeroot file lintian desktop-file-utils appstream"

missing=""
for p in $packages; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done
[ -z "$missing" ] && exit 0

echo "Installing:$missing"
if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends $missing
