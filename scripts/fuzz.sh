#!/usr/bin/env bash
# Runs every fuzz target of tests/fuzz: each input of its seed corpus (tests/fuzz/<name>/) in
# full, then SECONDS (default 10) of new inputs of up to 16 KB. New inputs stay in
# build-sanitize/fuzz/corpus/; a crash, leak or hang leaves its input in
# build-sanitize/fuzz/crashes/ and fails the run.
#
#   scripts/fuzz.sh [SECONDS] [NAME...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-10}
shift || true
# A failed build must stop here, which eval "$(...)" would not.
sanitizer_env=$(scripts/sanitize-build.sh)
eval "$sanitizer_env"
export ORVANEL_SYSTEM_ACTIONS=log QT_QPA_PLATFORM=offscreen
out=build-sanitize/fuzz
names=("$@")
if [ ${#names[@]} -eq 0 ]; then
  for f in tests/fuzz/fuzz_*.cpp; do n=${f##*/fuzz_}; names+=("${n%.cpp}"); done
fi
failed=0
for name in "${names[@]}"; do
  seeds=tests/fuzz/$name
  mkdir -p "$out/corpus/$name" "$out/crashes" "$seeds"
  common=(-timeout=60 -rss_limit_mb=4096 -artifact_prefix="$out/crashes/$name-")
  # The seeds in full (the fuzzing run cuts inputs to 16 KB).
  if compgen -G "$seeds/*" >/dev/null; then
    "$out/fuzz_$name" "${common[@]}" "$seeds"/* >"$out/$name-seeds.log" 2>&1 || {
      echo "fuzz_$name: a seed failed (see $out/$name-seeds.log)"; failed=1; continue; }
  fi
  if "$out/fuzz_$name" "${common[@]}" -max_len=16384 -max_total_time="$seconds" -print_final_stats=1 \
      "$out/corpus/$name" "$seeds" >"$out/$name.log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$out/$name.log")
    echo "fuzz_$name: ${runs:-?} inputs, no finding"
  else
    echo "fuzz_$name: FINDING (see $out/$name.log and $out/crashes/)"; failed=1
  fi
done
exit $failed
