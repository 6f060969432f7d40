#!/usr/bin/env bash
# Makes docs/screenshot.png and docs/screenshot-dark.png, the README's pictures: the window right
# after a Loto 6 draw, on a light and on a dark desktop. It runs on an invisible X screen with no
# window manager, so the pictures come out the same on any machine and can be made again after
# every change to the window.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" != "--on-this-display" ]; then
  bash scripts/build.sh --quiet --for-tests
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
. scripts/watch-window.sh
. scripts/lottery-facts.sh
# The draw cannot end sooner than its reels and pauses allow.
loto6_least_seconds=$(nominal_seconds "Loto 6")
fail() { echo "screenshot.sh: $*" >&2; exit 1; }

build/tamapick &
program=$!
trap 'kill "$program" 2>/dev/null || true' EXIT
# The program's X class is its application name.
find_window 20 --class tamapick || fail "no tamapick window appeared within 20 s$(
  kill -0 "$program" 2>/dev/null || echo ": the program had ended")"
sleep 1  # let the first paint land

# A draw writes its headline at once, and its reels flicker until its closing remark; it has
# ended once the window stands still for 2 s, longer than any of its pauses.
before=$(picture_above_buttons)
drawing() { [ "$(picture_above_buttons)" != "$before" ]; }
clicked=$EPOCHREALTIME  # before the click: the draw cannot start sooner
press roto6
within 2 drawing || fail "the window did not change within 2 s of pressing ロト6: the click started no draw"
wait_until_still 30 2 picture_above_buttons || fail "the window still changes 30 s after pressing ロト6"
took=$(seconds_since "$clicked")
awk -v t="$took" -v least="$loto6_least_seconds" 'BEGIN { exit !(t - 2 >= least) }' ||
  fail "the window stood still $took s after pressing ロト6, before the Loto 6 reels could end"
shown=$(numbers_shown)
((shown == 6)) || fail "after the draw $shown of the six labels hold a number"
echo "the Loto 6 draw ended $took s after the click, a number in each of the six labels"
save_window "$output"
