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

# The Windows plug-in beside an empty one: size without debugging
# information, and the whole process of loading it and calling Startup
# under Wine (median wall time of 10 runs after 2 unmeasured ones).
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target TriSpan EmptyPlugin load-plugin >/dev/null
bin=build/win64/bin
median_ms() {
  local times=()
  for run in $(seq 12); do
    local start end
    start=$(date +%s%N)
    tools/wine-run "$bin/load-plugin.exe" "$1" >/dev/null 2>&1
    end=$(date +%s%N)
    [ "$run" -gt 2 ] && times+=($(((end - start) / 1000000)))
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n '5,6p' | awk '{ s += $1 } END { printf "%.0f", s / 2 }'
}
echo
printf '| %-22s | %10s | %28s |\n' "plug-in (Windows x64)" "size" "load + Startup under Wine"
printf '|%s|%s|%s|\n' "------------------------" "------------" "------------------------------"
for plugin in TriSpan EmptyPlugin; do
  x86_64-w64-mingw32-strip -o "$bin/$plugin-stripped.dll" "$bin/$plugin.dll"
  size=$(stat -c %s "$bin/$plugin-stripped.dll")
  printf '| %-22s | %6d KiB | %25s ms |\n' "$plugin.dll" $((size / 1024)) "$(median_ms "$bin/$plugin-stripped.dll")"
done
WINEPREFIX="$PWD/build/win64/wineprefix" wineserver -k 2>/dev/null || true
