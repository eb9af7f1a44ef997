#!/bin/bash
# The main job: installs what is missing, builds TriSpan for Linux and runs
# the box example in vekhost: a drafter's session from the width pick to the
# written note, and the picture of the drawing afterwards.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake --preset linux >/dev/null
cmake --build --preset linux --target vekhost
mkdir -p build/demo
cd build/demo
# Settings of the demo's own, from the defaults, so the note is always the same.
../linux/bin/vekhost --registry registry.reg --reset-settings \
  ../../examples/box.json ../../examples/box.events
echo "picture in full: $PWD/box.svg"
