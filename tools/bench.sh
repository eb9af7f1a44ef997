#!/bin/bash
# Builds the benchmarks (optimised) and prints each figure beside the
# baseline measured in the same run: the simulated host dispatching an event
# to an execute function that does nothing. Ratios hold on a noisy machine.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake --preset bench >/dev/null
cmake --build --preset bench >/dev/null
echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//'), $(. /etc/os-release; echo "$PRETTY_NAME")"
build/bench/bin/command_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
  --benchmark_format=csv 2>/dev/null | awk -F, '
  /_median"?,/ {
    name = $1; gsub(/"/, "", name); sub(/_median$/, "", name)
    cpu[name] = $4; order[++n] = name
  }
  NR == 1 { for (i = 1; i <= NF; ++i) { h = $i; gsub(/"/, "", h); if (h == "peak_kb_growth") column = i } }
  /_median"?,/ && column { growth[name] = $column }
  END {
    printf "| %-40s | %12s | %10s | %16s |\n", "figure (median of 5)", "CPU ns/op", "x baseline", "peak memory growth"
    printf "|%s|%s|%s|%s|\n", "------------------------------------------", "--------------", "------------", "------------------"
    for (i = 1; i <= n; ++i) {
      name = order[i]
      printf "| %-40s | %12.1f | %10.1f | %16s |\n", name, cpu[name], cpu[name] / cpu["Baseline"], (growth[name] == "" ? "" : growth[name] " KiB")
    }
  }'
