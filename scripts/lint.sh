#!/usr/bin/env bash
# The project's static checks, run by the test command after the build:
#  - the folder layering (cmake/CheckLayers.cmake);
#  - the naming rules and a few bug-prone checks (clang-tidy with .clang-tidy) on every
#    source of the tree in the build's compile_commands.json;
#  - no member prefixes or suffixes (mName, m_name, name_), which clang-tidy's case rules
#    cannot see.
# Usage: scripts/lint.sh [build-dir]   (default build/linux)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/linux}"

cmake -DSOURCE_DIR="$PWD" -P cmake/CheckLayers.cmake

prefixed=$(git ls-files '*.h' '*.cpp' | grep -v '^vst/' |
  xargs grep -nE '\bm_[a-z][A-Za-z0-9_]*\b|\bm[A-Z][a-z][A-Za-z0-9]*\b|\b[a-z][A-Za-z0-9]*_\b' |
  grep -vE '^[^:]+:[0-9]+:\s*(//|\*)' || true)
if [ -n "$prefixed" ]; then
  echo "lint: data members carry no prefix or suffix (see CONTRIBUTING.md):"
  echo "$prefixed"
  exit 1
fi

tidy=$(command -v run-clang-tidy-14 || command -v run-clang-tidy)
"$tidy" -p "$build" -quiet -j "$(nproc)" \
  "$PWD/(plugin|synth|voice|effects|dsp|editor|host|tools|tests|bench)/.*\.cpp$" > "$build/clang-tidy.log" 2>&1 ||
  { grep -E "error:|warning:" "$build/clang-tidy.log" | sort -u; echo "lint: clang-tidy found the above"; exit 1; }
echo "lint: layering, member names and clang-tidy clean"
