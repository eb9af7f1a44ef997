#!/bin/bash
# Every test: installs what is missing, builds TriSpan both ways and runs the
# Linux tests natively (plain and with sanitizers) and the Windows tests
# under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh

cmake --preset linux
cmake --build --preset linux
ctest --preset linux -j "$(nproc)"

# The same Linux tests with AddressSanitizer (leaks included) and
# UndefinedBehaviorSanitizer.
cmake --preset sanitize
cmake --build --preset sanitize
ctest --preset sanitize -j "$(nproc)"

# Each fuzz target for a short while from its seeds (tools/fuzz.sh runs longer).
tools/fuzz.sh 10

cmake --preset win64
cmake --build --preset win64
status=0
ctest --preset win64 || status=$?
# The release package: its files, and regedit importing its settings file.
tools/package.sh
bash tests/check-package.sh build/TriSpan-*-win64.zip || status=1
# Wine's server would otherwise linger for a while after the last test.
WINEPREFIX="$PWD/build/win64/wineprefix" wineserver -k 2>/dev/null || true
exit $status
