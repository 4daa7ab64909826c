#!/usr/bin/env bash
# The main job: set up the machine, build the plug-in and show what a host sees.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh linux
build/linux/tgprobe build/linux/thumpgeist.so
