#!/usr/bin/env bash
# Configures and builds one preset (default: linux).
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-linux}"
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
