#!/bin/bash
# vekhost at the size of real drawings: builds vekhost optimised and prints
# bench/vekhost-bench.py's table (1,000 to 100,000 elements, median of 5,
# the growth with N, then 1,000,000 elements once). Takes about ten
# minutes on two cores; options go to the script (--runs 1 --no-million for a
# quick look).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake --preset bench >/dev/null
cmake --build --preset bench --target vekhost >/dev/null
bash tests/browser/setup.sh
echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//'), $(. /etc/os-release; echo "$PRETTY_NAME")"
python3 bench/vekhost-bench.py build/bench/bin/vekhost "$@"
