#!/bin/bash
# Takes docs/serve-session.png: vekhost --serve with the box example in
# Chromium, the preview note following the cursor.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --build --preset linux --target vekhost >/dev/null
(cd tests/browser && [ -d node_modules/@playwright/test ] ||
  PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error)
work=$(mktemp -d)
build/linux/bin/vekhost --serve --port 8799 --registry "$work/settings.reg" --json "$work/r.json" \
  --svg "$work/r.svg" examples/box.json >"$work/log" 2>&1 &
server=$!
trap 'kill -INT $server 2>/dev/null; wait $server 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 50); do grep -q "serving the session" "$work/log" && break; sleep 0.1; done
NODE_PATH=tests/browser/node_modules node tools/serve-picture.js http://127.0.0.1:8799/ docs/serve-session.png
echo docs/serve-session.png
