#!/bin/bash
# Every test: installs what is missing, then builds and tests each
# configuration once: the Linux tests with AddressSanitizer (leaks included)
# and UndefinedBehaviorSanitizer, the fuzz targets for a short while, the
# Windows tests under Wine, and the release package.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake --workflow --preset sanitize
cmake --workflow --preset fuzz
status=0
cmake --workflow --preset win64 || status=$?
tools/package.sh
ctest --preset package || status=1
# Wine's server would otherwise linger for a while after the last test.
WINEPREFIX="$PWD/build/win64/test-prefix" wineserver -k 2>/dev/null || true
exit $status
