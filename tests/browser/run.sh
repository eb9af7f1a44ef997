#!/bin/bash
# vekhost --serve tested with Playwright: played with the mouse in Debian's
# Chromium, and its server without a browser.
#   run.sh VEKHOST OUTPUT_FOLDER
set -euo pipefail
cd "$(dirname "$0")"
# The pinned packages from the lock file; Playwright's own browsers are not
# downloaded: the tests drive /usr/bin/chromium.
[ -d node_modules/@playwright/test ] ||
  PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error
VEKHOST=$1 PLAYWRIGHT_OUTPUT=$2 exec npx playwright test
