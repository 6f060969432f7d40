#!/usr/bin/env bash
# Tests the Windows build under Wine, after scripts/windows/build.sh (which checks dist's exe
# with the PE tools): the whole test suite through CTest, a Loto 6 draw on an invisible X screen
# (draw-check.sh, saving build-windows/screenshot-loto6.png), the desktop-look test at 150 % scale
# and text size (desktop-look.sh), and the zip and the MSI (test-installers.sh).
# Everything it starts (Xvfb, the program, Wine's server) is stopped when it ends, also on failure.
set -euo pipefail

# shellcheck source=common.sh
source "$(dirname "$0")/common.sh"
exe="$dist_dir/tamapick.exe"
screenshot="$build_dir/screenshot-loto6.png"

if [ ! -f "$exe" ] || [ ! -f "$build_dir/CTestTestfile.cmake" ]; then
  echo "No Windows build: run scripts/windows/build.sh first." >&2
  exit 1
fi

# shellcheck source=draw-check.sh
source "$root/scripts/windows/draw-check.sh"
require_tools
trap stop_screen EXIT

step "The test suite under Wine"
# Make Wine's prefix once, before tests start side by side: a fresh one takes long enough to make
# the first tests run out of time while they wait for it.
"$root/scripts/windows/wine-run.sh" cmd /c exit
(cd "$build_dir" && ctest --output-on-failure --no-tests=error -j "$(nproc)")
step_done

step "A Loto 6 draw on screen (Wine + Xvfb)"
# Wine's desktop belongs to the server it started with, and the tests' server had no display:
# start afresh, so the program's window goes to the X screen below.
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
start_screen
check_loto6_draw "$screenshot" "$root/scripts/windows/wine-run.sh" "$exe"
stop_screen
step_done

step "The window on a desktop at 150 % with larger text (Wine + Xvfb)"
bash "$root/scripts/windows/desktop-look.sh"
step_done

# The zip and the MSI, in a Wine prefix of their own.
bash "$root/scripts/windows/test-installers.sh" "$dist_dir"
