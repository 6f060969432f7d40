#!/usr/bin/env bash
# Tests the Windows build under Wine, after scripts/windows/build.sh:
#   1. checks dist/tamapick.exe with the PE tools (GUI, x86-64, system DLLs only, icon, version);
#   2. runs the whole test suite's Windows executables under Wine through CTest, the slow test too;
#   3. starts dist/tamapick.exe on an invisible X screen, presses ロト6, checks that the click
#      started a draw (the headline changed) and that it ends with six numbers and a closing
#      remark, and saves build-windows/screenshot-loto6.png;
#   4. runs the desktop-look test on a Wine desktop at 150 % scale and 150 % text size;
#   5. tests the zip and the MSI under Wine (test-installers.sh): unpack and run, install, run
#      from the Start menu, upgrade, uninstall with nothing left.
# Everything it starts (Xvfb, the program, Wine's server) is stopped when it ends, also on failure.
set -euo pipefail

root="$(cd "$(dirname "$0")/../.." && pwd)"
build_dir="$root/build-windows"
exe="$root/dist/tamapick.exe"
screenshot="$build_dir/screenshot-loto6.png"
wine_run="$root/scripts/windows/wine-run.sh"
export WINEPREFIX="${WINEPREFIX:-${TAMAPICK_CACHE:-$HOME/.cache/tamapick}/wine}"

if [ ! -f "$exe" ] || [ ! -f "$build_dir/CTestTestfile.cmake" ]; then
  echo "No Windows build: run scripts/windows/build.sh first." >&2
  exit 1
fi

# shellcheck source=steps.sh
source "$root/scripts/windows/steps.sh"
# shellcheck source=draw-check.sh
source "$root/scripts/windows/draw-check.sh"
require_tools
trap stop_screen EXIT

step "The executable"
bash "$root/scripts/windows/check-exe.sh" "$exe" "$build_dir"
echo "   size: $(stat -c %s "$exe") bytes"
step_done

step "The test suite under Wine"
# Make Wine's prefix once, before tests start side by side.
"$wine_run" cmd /c exit
(cd "$build_dir" && ctest --output-on-failure --no-tests=error -j "$(nproc)")
step_done

step "A Loto 6 draw on screen (Wine + Xvfb)"
# Wine's desktop belongs to the server it started with, and the tests' server had no display:
# start afresh, so the program's window goes to the X screen below.
WINEPREFIX="$WINEPREFIX" wineserver -k 2>/dev/null || true
WINEPREFIX="$WINEPREFIX" wineserver -w 2>/dev/null || true
start_screen
check_loto6_draw "$screenshot" "$wine_run" "$exe"
stop_screen
step_done

step "The window on a desktop at 150 % with larger text (Wine + Xvfb)"
bash "$root/scripts/windows/desktop-look.sh"
step_done

# The zip and the MSI, in a Wine prefix of their own.
bash "$root/scripts/windows/test-installers.sh" "$root/dist"
