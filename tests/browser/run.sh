#!/bin/bash
# vekhost --serve tested with Playwright (installed by setup.sh): played with
# the mouse in Debian's Chromium, and its server without a browser.
#   run.sh VEKHOST OUTPUT_FOLDER
set -euo pipefail
cd "$(dirname "$0")"
VEKHOST=$1 PLAYWRIGHT_OUTPUT=$2 exec npx playwright test
