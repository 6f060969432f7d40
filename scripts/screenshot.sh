#!/usr/bin/env bash
# Makes docs/screenshot.png and docs/screenshot-dark.png, the README's pictures: the window right
# after a Loto 6 draw, on a light and on a dark desktop. It runs on an invisible X screen with no
# window manager, so the pictures come out the same on any machine and can be made again after
# every change to the window.
set -euo pipefail
cd "$(dirname "$0")/.."

. scripts/window-layout.sh
# The Loto 6 reels alone take 10.76 s: the draw cannot end sooner.
loto6_least_seconds=10.76

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

# The six number labels, as pixels: the reels flicker there, and a finished draw leaves a number
# in each.
read -r first_left labels_top _ labels_height <<<"$(box_of Label1)"
read -r last_left _ last_width _ <<<"$(box_of Label6)"
labels_crop="$((last_left + last_width - first_left))x${labels_height}+${first_left}+${labels_top}"
labels_picture() { xwd -silent -id "$window" | convert xwd:- -crop "$labels_crop" +repage rgb:- | md5sum; }
seconds_since() { awk -v from="$1" -v now="$EPOCHREALTIME" 'BEGIN { printf "%.2f", now - from }'; }
fail() {
  echo "screenshot.sh: $*" >&2
  exit 1
}

# Press ロト6, then move the pointer off the window so the button is not caught half-highlighted.
before=$(labels_picture)
read -r x y <<<"$(centre_of roto6)"
clicked=$EPOCHREALTIME  # before the click: the draw cannot start sooner
xdotool mousemove --window "$window" "$x" "$y" click 1
xdotool mousemove 630 470
# The draw has begun once the reels flicker in the labels; it has ended once they stand still.
for _ in $(seq 20); do
  [ "$(labels_picture)" != "$before" ] && break
  sleep 0.1
done
[ "$(labels_picture)" != "$before" ] || fail "no reel turned within 2 s of pressing ロト6: the click started no draw"
still=0 last=""
while [ "$still" -lt 4 ]; do
  sleep 0.25
  now=$(labels_picture)
  if [ "$now" = "$last" ]; then still=$((still + 1)); else still=0; fi
  last=$now
  awk -v t="$(seconds_since "$clicked")" 'BEGIN { exit !(t < 30) }' || fail "the reels still turn 30 s after pressing ロト6"
done
took=$(seconds_since "$clicked")
awk -v t="$took" -v least="$loto6_least_seconds" 'BEGIN { exit !(t - 1 >= least) }' ||
  fail "the labels stood still $took s after pressing ロト6, before the Loto 6 reels could end"
for label in Label1 Label2 Label3 Label4 Label5 Label6; do
  read -r left top width height <<<"$(box_of "$label")"
  colours=$(xwd -silent -id "$window" | convert xwd:- -crop "${width}x${height}+${left}+${top}" -format '%k' info:)
  [ "$colours" -gt 1 ] || fail "$label is blank after the draw"
done
echo "the Loto 6 draw ended $took s after the click, a number in each of the six labels"

import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage -strip "$output"
echo "wrote $output (${WIDTH} x ${HEIGHT})"
