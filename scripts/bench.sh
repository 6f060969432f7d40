#!/usr/bin/env bash
# Builds tamapick and runs every benchmark; prints the figures as tables (about two minutes).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh --quiet --for-tests
quiet() { grep -v '^QStandardPaths' || true; }

echo "## Draw timing and CPU (real window, offscreen platform)"
QT_QPA_PLATFORM=offscreen build/bench/bench_draws "$@" 2>&1 | quiet
echo
# A desktop runs the program inside its D-Bus session. Without one, Qt starts a bus daemon of its
# own at start-up (for the accessibility bus), which costs ours and the bare window alike and
# hides the differences in our own start-up; so start-up is measured both ways.
x11() { xvfb-run -a -s "-screen 0 1024x768x24" "$@"; }
echo "## Start-up and memory against a bare Qt window (X11, on a virtual screen, no session bus)"
env -u DBUS_SESSION_BUS_ADDRESS xvfb-run -a -s "-screen 0 1024x768x24" build/bench/bench_startup "$@" 2>&1 | quiet
echo
echo "## Same, inside a D-Bus session (dbus-run-session), as on a desktop"
x11 dbus-run-session -- build/bench/bench_startup "$@" 2>&1 | quiet
echo
# With no Japanese font installed the program registers the Japanese face it carries; the build
# writes the fontconfig that sees only DejaVu (tests/support/CMakeLists.txt).
echo "## Same, in a D-Bus session, with no Japanese font installed (fontconfig sees only DejaVu)"
FONTCONFIG_FILE=$PWD/build/tests/support/latin-only-fonts/fonts.conf x11 dbus-run-session -- build/bench/bench_startup "$@" 2>&1 | quiet
echo
echo "## Start-up and memory against a bare Qt window (offscreen platform)"
QT_QPA_PLATFORM=offscreen build/bench/bench_startup "$@" 2>&1 | quiet
echo
echo "## Stack per nested draw"
QT_QPA_PLATFORM=offscreen build/bench/bench_nesting_stack 2>&1 | quiet
