#!/usr/bin/env bash
# Builds Orvanel and starts the character on the bundled default data.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2
exec build/bin/orvanel "$@"
