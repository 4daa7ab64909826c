#!/usr/bin/env bash
# The main job: set up the machine, build the Linux and Windows plug-ins and show what
# a host sees.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh linux
scripts/build.sh win64
build/linux/tgprobe build/linux/thumpgeist.so
echo
echo "Linux module:   $PWD/build/linux/thumpgeist.so"
echo "Windows module: $PWD/build/win64/Thumpgeist.dll"
