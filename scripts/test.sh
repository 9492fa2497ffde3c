#!/usr/bin/env bash
# Installs the test tools as well, checks formatting and layering, builds everything and runs
# every test (unit, widget and end-to-end) without a display. With --sanitize: the whole suite again, built with the
# sanitizers in build-sanitize/ (scripts/sanitize-build.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" = --sanitize ]; then
  # A failed build must stop here, which eval "$(...)" would not.
  sanitizer_env=$(scripts/sanitize-build.sh)
  eval "$sanitizer_env"
  export ORVANEL_SYSTEM_ACTIONS=log
  exec ctest --test-dir build-sanitize --output-on-failure -j2
fi
scripts/install-deps.sh --tests
scripts/check.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DORVANEL_BUILD_TESTS=ON -DORVANEL_BUILD_BENCHMARKS=ON >/dev/null
cmake --build build -j2
export ORVANEL_SYSTEM_ACTIONS=log
ctest --test-dir build --output-on-failure -j2
