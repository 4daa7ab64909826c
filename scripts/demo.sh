#!/usr/bin/env bash
# The main job: set up the machine, build the Linux and Windows plug-ins, show what a
# host sees, and render a demo: a kick on note 36 with the default sound.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh linux
scripts/build.sh win64
build/linux/tgprobe build/linux/thumpgeist.so
echo
# The default sound peaks above full scale (its output limit is off), so the demo is
# written as 32-bit float: nothing is clipped in the file.
build/linux/tgrender --note 36:127:0:0.5 --tail 1 --float -o build/linux/demo-kick.wav
echo
echo "Linux module:   $PWD/build/linux/thumpgeist.so"
echo "Windows module: $PWD/build/win64/Thumpgeist.dll"
echo "Demo kick:      $PWD/build/linux/demo-kick.wav"
