#!/usr/bin/env bash
# Fast checks before any build: every source clang-format clean, and no include running up the
# layers (scripts/check_layers.py).
set -euo pipefail
cd "$(dirname "$0")/.."
if ! git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror; then
    echo "check: clang-format differences above; run 'ninja -C build format' or clang-format -i" >&2
    exit 1
fi
python3 scripts/check_layers.py
