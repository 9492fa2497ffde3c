#!/usr/bin/env bash
# Installs the Debian packages Orvanel needs: to build and run it, and with --tests also what
# the tests use (the format check, the archivers the LHA writer is checked against, the
# benchmark library, the X servers, the window manager and the tools the end-to-end tests
# drive the desktop with).
# With --sanitize also clang, its sanitizer and libFuzzer runtimes and the symbolizer.
#   scripts/install-deps.sh [--tests] [--sanitize]
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev libxcb1-dev
  libuchardet-dev liblhasa-dev
  librsvg2-bin fonts-ipafont-gothic
  ca-certificates xdg-utils
)
if [[ " $* " == *" --tests "* ]]; then
  packages+=(
    clang-format python3
    lhasa jlha-utils libarchive-tools
    libbenchmark-dev libpixman-1-dev
    xvfb xauth xdotool x11-utils imagemagick socat
    # a desktop for the end-to-end tests: a window manager (the panel is the tests' own)
    openbox
    # the system events and other programs' windows in a sandbox of the tests' own: terminals
    # as windows of known titles, an X server that switches modes, D-Bus mock services
    xterm xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils
    python3-dbus python3-dbusmock
    # the accessibility bus and a client that reads it
    dbus-bin dbus-daemon at-spi2-core python3-pyatspi gir1.2-atspi-2.0
    # the package test: the validators of desktop entries and AppStream metainfo
    desktop-file-utils appstream
  )
fi
[[ " $* " == *" --sanitize "* ]] && packages+=(clang libclang-rt-14-dev llvm)
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
