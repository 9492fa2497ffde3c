#!/usr/bin/env bash
# Builds the Debian package from a build folder (made and built first when missing):
#   scripts/package.sh [BUILD [OUT]]      (defaults: build, BUILD/package)
# Prints the path of the .deb. Install it with `sudo apt install ./orvanel_*.deb`.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
out=${2:-$build/package}
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
# Only what gets installed; up to date, this costs nothing.
cmake --build "$build" -j2 --target orvanel orvanel-script orvanel_data orvanel_desktop_files >/dev/null
mkdir -p "$out"
out=$(cd "$out" && pwd)
cpack --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 || { cat "$out/cpack.log" >&2; exit 1; }
ls "$out"/orvanel_*.deb
