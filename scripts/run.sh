#!/usr/bin/env bash
# Sets everything up, builds, and launches Quorvel (under Xvfb when there is no display).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh release
program=build/release/src/app/quorvel
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  echo "No display: starting Quorvel under Xvfb (virtual screen)." >&2
  exec xvfb-run -a "$program" "$@"
fi
exec "$program" "$@"
