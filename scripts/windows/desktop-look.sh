#!/usr/bin/env bash
# Runs the desktop-look test under Wine on a Windows desktop as a user sets it up, in a fresh
# prefix of its own on an invisible X screen: Settings > Display > Scale 150 %, and
# Accessibility > Text size ("make text bigger") 150 %. The test is told what the desktop claims
# (scale, message font) and proves it on what is drawn before it checks that every caption is
# whole and the text on the picture reads. After scripts/windows/build.sh; test.sh runs it.
set -euo pipefail

# shellcheck source=common.sh
source "$(dirname "$0")/common.sh"
test_exe="$build_dir/test_desktop_look.exe"
[ -f "$test_exe" ] || { echo "No $test_exe: run scripts/windows/build.sh first." >&2; exit 1; }

# shellcheck source=draw-check.sh
source "$root/scripts/windows/draw-check.sh"
require_tools wineboot
scratch=$(mktemp -d)
use_own_prefix "$scratch/prefix"
trap 'stop_screen; wineserver -k 2>/dev/null || true; rm -rf "$scratch"' EXIT
screen_size="1024 768"  # room for the window at 150 %
desktop='HKEY_CURRENT_USER\Control Panel\Desktop'
percent=150
wineboot --init >/dev/null 2>&1

# The scale: Wine keeps it as the system's dots per inch, LogPixels (96 at 100 %).
wine reg add "$desktop" /v LogPixels /t REG_DWORD /d $((96 * percent / 100)) /f >/dev/null
# The text size: the window metrics' fonts (the message font, which Qt takes for buttons and
# labels, the caption, menu, status and icon fonts) at the percentage of Windows' own 9 pt, 12 px
# at 96 dots per inch, each in the face and weight the prefix gives it. They are LOGFONTW records
# (92 bytes) whose height, the first four bytes little-endian, is a negative pixel height at 96
# dots per inch: Wine scales it to the system's own.
height=$(((12 * percent + 50) / 100))
record=$(printf '%08x' $((0x100000000 - height)))
record="${record:6:2}${record:4:2}${record:2:2}${record:0:2}"
fonts=()
while read -r name type hex; do
  [ "$type" = REG_BINARY ] && [ "${#hex}" -eq 184 ] || continue
  fonts+=("$name")
  wine reg add "$desktop\\WindowMetrics" /v "$name" /t REG_BINARY /d "$record${hex:8}" /f >/dev/null
  # The message font's face, UTF-16 from byte 28 up to its first null (Wine's faces are ASCII),
  # and its size in points are the claim.
  [ "$name" = MessageFont ] || continue
  face=$(fold -w4 <<<"${hex:56}" | sed -n '/^0000$/q; s/^\(..\)00$/\\x\1/p' | tr -d '\n')
  face=$(printf '%b' "$face")
done < <(wine reg query "$desktop\\WindowMetrics" | tr -d '\r' | grep -E '^ +[A-Za-z]*Font ')
points=$(awk -v h="$height" 'BEGIN { printf "%g", h * 72 / 96 }')
wineserver -w
echo "   $(wine reg query "$desktop" /v LogPixels | tr -d '\r' | grep -o 'LogPixels.*'); ${fonts[*]}" \
  "at $height px; MessageFont \"$face\", $points pt"

start_screen
# On the desktop, not the suite's offscreen platform.
env -u QT_QPA_PLATFORM TAMAPICK_DESKTOP_PLATFORM=windows TAMAPICK_DESKTOP_SCALE=1.5 \
  "TAMAPICK_DESKTOP_FONT=$face $points" "$root/scripts/windows/wine-run.sh" "$test_exe"
