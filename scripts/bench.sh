#!/usr/bin/env bash
# Builds tamapick and runs every benchmark; prints the figures as tables (about two minutes).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh --quiet
quiet() { grep -v '^QStandardPaths' || true; }

echo "## Draw timing and CPU (real window, offscreen platform)"
QT_QPA_PLATFORM=offscreen build/bench/bench_draws "$@" 2>&1 | quiet
echo
echo "## Start-up and memory against a bare Qt window (X11, on a virtual screen)"
xvfb-run -a -s "-screen 0 1024x768x24" build/bench/bench_startup "$@" 2>&1 | quiet
echo
echo "## Start-up and memory against a bare Qt window (offscreen platform)"
QT_QPA_PLATFORM=offscreen build/bench/bench_startup "$@" 2>&1 | quiet
echo
echo "## Stack per nested draw"
QT_QPA_PLATFORM=offscreen build/bench/bench_nesting_stack 2>&1 | quiet
