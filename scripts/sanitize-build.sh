#!/usr/bin/env bash
# Builds everything with clang, AddressSanitizer (LeakSanitizer on) and UndefinedBehavior-
# Sanitizer, plus the libFuzzer targets, in build-sanitize/ (for test.sh --sanitize and
# fuzz.sh), and prints the sanitizer options to export.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --tests --sanitize >&2
CC=clang CXX=clang++ cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DORVANEL_SANITIZE=ON -DORVANEL_FUZZ=ON -DORVANEL_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build-sanitize -j2 >&2
supp="$PWD/tests/fuzz/lsan.supp"
echo "export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:detect_stack_use_after_return=1"
echo "export LSAN_OPTIONS=suppressions=$supp:print_suppressions=0"
echo "export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1"
