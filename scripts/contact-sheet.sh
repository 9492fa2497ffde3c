#!/usr/bin/env bash
# Builds the default skin and draws its contact sheet: every surface, the fellow and both
# balloons over the outline the program computes for them, with the hit areas on surface 1.
#   scripts/contact-sheet.sh [PROGRAM_FOLDER] [OUT.png]
set -euo pipefail
cd "$(dirname "$0")/.."
[ -f build/CMakeCache.txt ] || cmake -S . -B build -G Ninja
cmake --build build --target orvanel_data orvanel-contact-sheet
folder=${1:-build/share/orvanel/default}
out=${2:-build/contact-sheet.png}
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} build/tools/orvanel-contact-sheet "$folder" "$out"
