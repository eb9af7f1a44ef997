#!/bin/bash
# Builds the libFuzzer targets (clang, with AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for SECONDS, starting from its
# committed seed corpus; new inputs go to build/fuzz/corpus, not the seeds.
#   tools/fuzz.sh [SECONDS] [TARGET...]   (targets: format conversions registry command regfile drawing script web)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
tools/install-deps.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
filter=""
[ $# -eq 0 ] || filter="^fuzz_($(IFS='|'; echo "$*"))\$"
FUZZ_SECONDS=$seconds ctest --preset fuzz ${filter:+-R "$filter"}
