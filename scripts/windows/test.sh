#!/usr/bin/env bash
# Tests the Windows build under Wine, after scripts/windows/build.sh:
#   1. checks dist/tamapick.exe with the PE tools (GUI, x86-64, system DLLs only, icon, version);
#   2. runs the whole test suite's Windows executables under Wine through CTest, the slow test too;
#   3. starts dist/tamapick.exe on an invisible X screen, presses ロト6 and, once the draw has
#      ended, saves build-windows/screenshot-loto6.png.
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

xvfb_pid=""
program_pid=""
cleanup() {
  if [ -n "$program_pid" ]; then kill "$program_pid" 2>/dev/null || true; fi
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  # Wine's server lingers a few seconds after its last program; end it and anything left in it.
  WINEPREFIX="$WINEPREFIX" wineserver -k 2>/dev/null || true
}
trap cleanup EXIT

# shellcheck source=steps.sh
source "$root/scripts/windows/steps.sh"

step "The executable"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build_dir/CMakeCache.txt")
bash "$root/scripts/windows/check-exe.sh" "$exe" "$version"
echo "   size: $(stat -c %s "$exe") bytes"
step_done

step "The test suite under Wine"
# Make Wine's prefix once, before tests start side by side.
"$wine_run" cmd /c exit
(cd "$build_dir" && ctest --output-on-failure -j "$(nproc)")
step_done

step "A Loto 6 draw on screen (Wine + Xvfb)"
# Wine's desktop belongs to the server it started with, and the tests' server had no display:
# start afresh, so the program's window goes to the X screen below.
WINEPREFIX="$WINEPREFIX" wineserver -k 2>/dev/null || true
WINEPREFIX="$WINEPREFIX" wineserver -w 2>/dev/null || true
display=":$((90 + RANDOM % 100))"
Xvfb "$display" -screen 0 640x480x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=$display
for _ in $(seq 50); do
  if xdpyinfo >/dev/null 2>&1; then break; fi
  sleep 0.1
done

"$wine_run" "$exe" &
program_pid=$!
# Wine names the window with the program's title; wait until it is mapped.
window=$(timeout 120 xdotool search --sync --onlyvisible --name 'ほしだま★' | head -n 1)
sleep 2 # let the first paint land
eval "$(xdotool getwindowgeometry --shell "$window")" # sets X, Y, WIDTH, HEIGHT
echo "   window \"$(xdotool getwindowname "$window")\", ${WIDTH} x ${HEIGHT}"
if [ "$WIDTH" != 421 ] || [ "$HEIGHT" != 279 ]; then
  echo "FAIL: the window is ${WIDTH} x ${HEIGHT}, not 421 x 279" >&2
  exit 1
fi

# The headline, the balloons and the remark line: everything a draw writes. The buttons below
# are left out, since the style keeps the focused one pulsing.
window_picture() {
  import -window root -crop "${WIDTH}x205+${X}+${Y}" +repage rgb:- | md5sum
}
before=$(window_picture)

# Press ロト6 (x 128..201, y 208..233 in the window), then move the pointer away so the button is
# not caught half-highlighted.
xdotool mousemove --window "$window" 164 220 click 1
xdotool mousemove 630 470
# The draw has ended when the window stops changing: its reels alone take about 11 s, Wine's
# timers make them longer, and the closing remark follows them.
previous=""
still=0
for _ in $(seq 90); do
  sleep 1
  current=$(window_picture)
  if [ "$current" = "$previous" ]; then still=$((still + 1)); else still=0; fi
  previous=$current
  if ((still >= 4)); then break; fi
done
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage -strip "$screenshot"
if ((still < 4)); then
  echo "FAIL: the window was still changing after 90 s" >&2
  exit 1
fi
if [ "$current" = "$before" ]; then
  echo "FAIL: the window did not change after the click on ロト6" >&2
  exit 1
fi
echo "   wrote $screenshot"
step_done
