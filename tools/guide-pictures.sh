#!/bin/bash
# Draws the user guide's pictures of the command: the box example before
# and after a session, as vekhost's SVG output in headless Chromium, to
# docs/guide-before.png and docs/guide-after.png.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake --preset linux >/dev/null
cmake --build --preset linux --target vekhost
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
vekhost=build/linux/bin/vekhost
: >"$work/none.events"
"$vekhost" --registry "$work/settings.reg" --json "$work/before.json" --svg "$work/before.svg" \
  examples/box.json "$work/none.events" >/dev/null
"$vekhost" --registry "$work/settings.reg" --json "$work/after.json" --svg "$work/after.svg" \
  examples/box.json examples/box.events >/dev/null
for picture in before after; do
  # 3 pixels a unit of the drawing's 317 x 230 view.
  chromium --headless --no-sandbox --disable-gpu --hide-scrollbars --window-size=951,690 \
    --screenshot="$PWD/docs/guide-$picture.png" "file://$work/$picture.svg" 2>/dev/null
  echo "docs/guide-$picture.png"
done
