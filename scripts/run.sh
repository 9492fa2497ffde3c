#!/usr/bin/env bash
# Installs what building and running need, builds Orvanel and starts the character on the
# bundled default data.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
# The tests and benchmarks need what scripts/test.sh installs.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DORVANEL_BUILD_TESTS=OFF -DORVANEL_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build -j2
exec build/bin/orvanel "$@"
