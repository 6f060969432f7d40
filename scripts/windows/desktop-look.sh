#!/usr/bin/env bash
# Runs the desktop-look test under Wine on a Windows desktop as a user sets it up: display scale
# 150 % and "make text bigger" 150 % (wine-desktop.sh), in a fresh prefix of its own on an
# invisible X screen. The test is told what the desktop claims (scale, message font) and proves
# it on what is drawn before it checks that every caption is whole and the text on the picture
# reads. After scripts/windows/build.sh; test.sh runs it.
set -euo pipefail

root="$(cd "$(dirname "$0")/../.." && pwd)"
test_exe="$root/build-windows/test_desktop_look.exe"
[ -f "$test_exe" ] || { echo "No $test_exe: run scripts/windows/build.sh first." >&2; exit 1; }

# shellcheck source=draw-check.sh
source "$root/scripts/windows/draw-check.sh"
# shellcheck source=wine-desktop.sh
source "$root/scripts/windows/wine-desktop.sh"
require_tools wineboot
scratch=$(mktemp -d)
use_own_prefix "$scratch/prefix"
trap 'stop_screen; wineserver -k 2>/dev/null || true; rm -rf "$scratch"' EXIT
screen_size="1024 768"  # room for the window at 150 %

wineboot --init >/dev/null 2>&1
wine_display_scale 150
wine_text_size 150
settings=$(wine_desktop_settings)
sed 's/^/   /' <<<"$settings"
wineserver -w
# The message font is what Qt takes for the buttons: its pixel height at 96 dots per inch in
# points, and its face, are the claim.
read -r _ height face <<<"$(grep '^MessageFont ' <<<"$settings")"
points=$(awk -v h="${height#-}" 'BEGIN { printf "%g", h * 72 / 96 }')

start_screen
# On the desktop, not the suite's offscreen platform.
env -u QT_QPA_PLATFORM TAMAPICK_DESKTOP_PLATFORM=windows TAMAPICK_DESKTOP_SCALE=1.5 \
  "TAMAPICK_DESKTOP_FONT=$face $points" "$root/scripts/windows/wine-run.sh" "$test_exe"
