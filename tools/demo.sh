#!/bin/bash
# The main job: installs what is missing, builds TriSpan for Linux and runs
# it in the simulated host: the plug-in is loaded, registers its command, and
# one run of the command starts and ends.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake --preset linux >/dev/null
cmake --build --preset linux
build/linux/bin/vekhost
