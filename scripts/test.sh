#!/usr/bin/env bash
# Sets everything up, builds, and runs the whole test suite. Needs no display.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh testing
export QT_QPA_PLATFORM=offscreen
ctest --preset testing -j "$(nproc)"
