#!/usr/bin/env bash
# Configures and builds a CMake preset (default: testing) after installing what it needs.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-testing}
bash scripts/setup.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
