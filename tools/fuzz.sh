#!/bin/bash
# Builds the libFuzzer targets (clang, with AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for SECONDS, starting from its
# committed seed corpus; new inputs go to build/fuzz/corpus, not the seeds.
#   tools/fuzz.sh [SECONDS] [TARGET...]   (targets: format conversions registry command regfile drawing script web)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(format conversions registry command regfile drawing script web)
tools/install-deps.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
for target in "${targets[@]}"; do
  found=build/fuzz/corpus/$target
  mkdir -p "$found"
  echo "fuzz_$target: $seconds s"
  build/fuzz/bin/fuzz_"$target" -max_total_time="$seconds" -rss_limit_mb=2048 \
    -artifact_prefix=build/fuzz/ -print_final_stats=1 "$found" "fuzz/corpus/$target" 2>&1 |
    grep -E '^(stat::number_of_executed_units|==[0-9]+==|SUMMARY|artifact_prefix)|Test unit written' || true
  [ "${PIPESTATUS[0]}" -eq 0 ] || { echo "fuzz_$target found a fault (see build/fuzz/)"; exit 1; }
done
echo "fuzzing done: ${#targets[@]} targets, no fault"
