#!/usr/bin/env bash
# Sets up the machine, builds everything (the Linux tree and the Windows x64 build) and
# runs every test, the Wine smoke test of Thumpgeist.dll included, after the static checks.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh linux
scripts/build.sh win64
# Static checks: folder layering, member names, clang-tidy (naming and bug-prone checks).
scripts/lint.sh build/linux
# A brief fuzz pass: every fuzz target for a few seconds on its seed corpus (preset "fuzz").
scripts/fuzz.sh 5
ctest --preset linux
