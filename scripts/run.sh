#!/usr/bin/env bash
# Starts Corvane from the build folder; without a display it prints what the default computer holds.
set -euo pipefail
build=${1:-build}
if [ -x "$build/Corvane" ] && [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$build/Corvane"
fi
if [ -x "$build/Corvane" ]; then
  echo "No display: starting Corvane under a virtual display (xvfb-run)."
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$build/Corvane"
fi
exec "$build/corvanectl" list --filter all
