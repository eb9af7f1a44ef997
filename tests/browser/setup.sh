#!/bin/bash
# Installs the browser tests' packages from the lock file, once. Playwright's
# own browsers are not downloaded: the tests drive /usr/bin/chromium.
set -euo pipefail
cd "$(dirname "$0")"
[ -d node_modules/@playwright/test ] && exit 0
PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error
