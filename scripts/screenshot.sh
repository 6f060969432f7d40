#!/usr/bin/env bash
# Makes docs/screenshot.png and docs/screenshot-dark.png, the README's pictures: the window right
# after a Loto 6 draw, on a light and on a dark desktop. It runs on an invisible X screen with no
# window manager, so the pictures come out the same on any machine and can be made again after
# every change to the window.
set -euo pipefail
cd "$(dirname "$0")/.."

# The Loto 6 draw's reels alone take 10.76 s; the closing remark follows them.
draw_seconds=12

if [ "${1:-}" != "--on-this-display" ]; then
  bash scripts/build.sh --quiet
  mkdir -p docs
  xvfb-run -a -s "-screen 0 640x480x24" bash scripts/screenshot.sh --on-this-display docs/screenshot.png
  # docs/screenshot-dark.png: the same on a dark desktop, GNOME's dark Adwaita through Qt's GTK
  # platform theme, with GTK's default settings rather than this machine's.
  gtk_settings=$(mktemp -d)
  trap 'rm -rf "$gtk_settings"' EXIT
  XDG_CONFIG_HOME=$gtk_settings QT_QPA_PLATFORMTHEME=gtk3 GTK_THEME=Adwaita:dark \
    xvfb-run -a -s "-screen 0 640x480x24" bash scripts/screenshot.sh --on-this-display docs/screenshot-dark.png
  exit 0
fi
output=$2

build/tamapick &
program=$!
trap 'kill "$program" 2>/dev/null || true' EXIT

# The program's X class is its application name; wait for its window to be mapped.
window_wait=20
window=$(timeout "$window_wait" xdotool search --sync --onlyvisible --class tamapick | head -n 1) || true
if [ -z "$window" ]; then
  if ! kill -0 "$program" 2>/dev/null; then
    status=0
    wait "$program" || status=$?
    echo "screenshot.sh: tamapick exited (status $status) before its window appeared" >&2
  else
    echo "screenshot.sh: no tamapick window appeared within $window_wait s (xdotool search timed out)" >&2
  fi
  exit 1
fi
eval "$(xdotool getwindowgeometry --shell "$window")"  # sets X, Y, WIDTH, HEIGHT
sleep 1  # let the first paint land

# Press ロト6 (x 128..201, y 208..233 in the window), then move the pointer off the window so
# the button is not caught half-highlighted.
xdotool mousemove --window "$window" 164 220 click 1
xdotool mousemove 630 470
sleep "$draw_seconds"

import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage -strip "$output"
echo "wrote $output (${WIDTH} x ${HEIGHT})"
