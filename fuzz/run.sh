#!/bin/bash
# Runs one fuzz target for $FUZZ_SECONDS (10 by default) from its committed
# seeds; new inputs go to the build's corpus folder, a fault's input beside it.
#   run.sh FUZZ_TARGET NAME BUILD_FOLDER
set -uo pipefail
target=$1 name=$2 build=$3
here=$(cd "$(dirname "$0")" && pwd)
found=$build/corpus/$name
mkdir -p "$found"
"$target" -max_total_time="${FUZZ_SECONDS:-10}" -rss_limit_mb=2048 -artifact_prefix="$build/" \
  -print_final_stats=1 "$found" "$here/corpus/$name" 2>&1 |
  grep -E '^(stat::number_of_executed_units|==[0-9]+==|SUMMARY|artifact_prefix)|Test unit written'
status=${PIPESTATUS[0]}
[ "$status" -eq 0 ] || echo "fuzz_$name found a fault (see $build/)"
exit "$status"
