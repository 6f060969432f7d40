#!/usr/bin/env bash
# Shows how tamapick.exe looks under the display settings a Windows user picks: makes a fresh
# Wine prefix, applies the settings (wine-desktop.sh), starts the program on an invisible X
# screen and saves its window once it is painted.
#   desktop-look.sh [--scale PERCENT] [--text-size PERCENT] [--exe FILE] OUTPUT.png
# --scale is Settings > Display > Scale, --text-size "make text bigger"; what is not given stays
# as a fresh prefix has it (100 % and Wine's own 8 pt).
# The exe defaults to dist/tamapick.exe. Prints the settings the prefix held and the window's size.
set -euo pipefail

root="$(cd "$(dirname "$0")/../.." && pwd)"
scale=""
text_size=""
exe="$root/dist/tamapick.exe"
while (($# > 1)); do
  case "$1" in
    --scale) scale=$2 ;;
    --text-size) text_size=$2 ;;
    --exe) exe=$2 ;;
    *) break ;;
  esac
  shift 2
done
if (($# != 1)); then
  echo "usage: desktop-look.sh [--scale PERCENT] [--text-size PERCENT] [--exe FILE] OUTPUT.png" >&2
  exit 2
fi
output=$1
[ -f "$exe" ] || { echo "No $exe: run scripts/windows/build.sh first." >&2; exit 1; }

# shellcheck source=draw-check.sh
source "$root/scripts/windows/draw-check.sh"
# shellcheck source=wine-desktop.sh
source "$root/scripts/windows/wine-desktop.sh"
require_tools wineboot
scratch=$(mktemp -d)
use_own_prefix "$scratch/prefix"
trap 'stop_screen; rm -rf "$scratch"' EXIT
# Room for the window at twice its size.
screen_size="1024 768"

wineboot --init >/dev/null 2>&1
if [ -n "$scale" ]; then wine_display_scale "$scale"; fi
if [ -n "$text_size" ]; then wine_text_size "$text_size"; fi
wine_desktop_settings | sed 's/^/   /'
wineserver -w

start_screen
wine "$exe" &
draw_program_pid=$!
find_program_window
# An unpainted window is black: wait for the picture's colours, then for the first paint's end
# (above the buttons: the style keeps the focused one pulsing).
for _ in $(seq 120); do
  colours=$(import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage -format %k info:)
  if ((colours > 100)); then break; fi
  sleep 0.5
done
if ((colours <= 100)) || ! wait_until_still 60 picture_above_buttons; then
  echo "FAIL: the window was not painted, or kept changing, for 60 s" >&2
  exit 1
fi
save_program_window "$output"
