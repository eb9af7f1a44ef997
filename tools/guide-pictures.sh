#!/bin/bash
# Draws the user guides' pictures of the command: the box example before
# and after a session, as vekhost's SVG output in headless Chromium, in
# each guide's language: docs/guide-{before,after}.png for the English
# guide, docs/guide-{before,after}.ko.png for the Korean one.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake --preset linux >/dev/null
cmake --build --preset linux --target vekhost
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
vekhost=build/linux/bin/vekhost
: >"$work/none.events"
# The guides show a picture at its own size, 800 pixels wide (2.52 a unit
# of the drawing's 317 x 230 view): the texts are drawn larger than vekhost
# draws them for a window, so that they read at that size, the frame labels
# hanging below the frame's edge.
style='html, body { margin: 0; } svg { display: block; width: 800px; height: 580px; }
text { font-size: 6px; } text[fill="#777"] { font-size: 5px; dominant-baseline: hanging; }'
for lang in en ko; do
  suffix=$([ $lang = ko ] && echo .ko || true)
  for picture in before after; do
    events=$([ $picture = before ] && echo "$work/none.events" || echo examples/box.events)
    "$vekhost" --lang $lang --registry "$work/settings.reg" --json "$work/$picture.json" \
      --svg "$work/$picture.svg" examples/box.json "$events" >/dev/null
    {
      printf '<!DOCTYPE html><meta charset="utf-8"><style>%s</style>\n' "$style"
      cat "$work/$picture.svg"
    } >"$work/$picture.html"
    chromium --headless --no-sandbox --disable-gpu --hide-scrollbars --window-size=800,580 \
      --screenshot="$PWD/docs/guide-$picture$suffix.png" "file://$work/$picture.html" 2>/dev/null
    echo "docs/guide-$picture$suffix.png"
  done
done
