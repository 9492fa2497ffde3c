#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Orvanel needs; with
# --sanitize also clang, its sanitizer and libFuzzer runtimes and the symbolizer.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config clang-format
  qt6-base-dev qt6-base-dev-tools libgl-dev libxcb1-dev
  libuchardet-dev liblhasa-dev
  lhasa jlha-utils libarchive-tools
  libbenchmark-dev libpixman-1-dev
  librsvg2-bin fonts-ipafont-gothic
  ca-certificates xdg-utils
  xvfb xauth xdotool x11-utils imagemagick socat python3
  # test tools: the accessibility bus and a client that reads it
  dbus-bin dbus-daemon at-spi2-core python3-pyatspi gir1.2-atspi-2.0
  # tests only: the system events and other programs' windows in a sandbox of the tests' own
  # (a window manager, terminals as windows of known titles, an X server that switches modes,
  # D-Bus mock services)
  openbox xterm xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils
  python3-dbus python3-dbusmock
  # the package test: the validators of desktop entries and AppStream metainfo
  desktop-file-utils appstream
)
[ "${1:-}" = --sanitize ] && packages+=(clang libclang-rt-14-dev llvm)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
