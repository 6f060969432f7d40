#!/usr/bin/env bash
# Builds tamapick if needed and starts it, having installed only what building and running need
# (scripts/setup.sh --run). Without a display it runs on a virtual one.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh --quiet tamapick
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  command -v xvfb-run >/dev/null || bash scripts/setup.sh --virtual-screen
  echo "No display: starting tamapick under xvfb-run (invisible; for screenshots and checks)." >&2
  exec xvfb-run -a -s "-screen 0 1024x768x24" build/tamapick
fi
exec build/tamapick
