# Sourced by the scripts that use the real window from outside, on an X screen with no window
# manager (screenshot.sh, the Windows draw checks, the package's autopkgtest): they find the
# window, press its buttons and read its pixels. Every place in the window comes from
# window-layout.sh.
#   find_window SECONDS SEARCH...     waits for the window xdotool's search finds; sets window
#                                     and its X, Y, WIDTH, HEIGHT on the screen
#   press CONTROL                     clicks the middle of a control, then moves the pointer away
#   picture_of CONTROL|"l t w h"      a fingerprint of a control's (or a rectangle's) pixels
#   picture_above_buttons             a fingerprint of all a draw changes
#   numbers_shown                     how many of the six balloons show a number
#   within SECONDS COMMAND...         polls COMMAND until it succeeds; fails after SECONDS
#   wait_until_still SECONDS STILL COMMAND...
#                                     waits until what COMMAND prints stays the same for STILL
#                                     seconds; fails after SECONDS
#   save_window PNG                   saves the window as it is on the screen
#   seconds_since TIME                seconds since an $EPOCHREALTIME, to the hundredth
# shellcheck source=window-layout.sh
source "$(dirname "${BASH_SOURCE[0]}")/window-layout.sh"

find_window() {
  window=$(timeout "$1" xdotool search --sync --onlyvisible "${@:2}" | head -n 1) || true
  [ -n "$window" ] || return 1
  eval "$(xdotool getwindowgeometry --shell "$window")"
}

press() {
  local x y
  read -r x y <<<"$(centre_of "$1")"
  xdotool mousemove --window "$window" "$x" "$y" click 1
  # To the screen's far corner, so that the button is not caught half-highlighted.
  xdotool getdisplaygeometry | xargs xdotool mousemove
}

# A control's box (or a rectangle of the window) as raw pixels, gray or rgb.
pixels_of() {
  local box=$2 left top width height
  [[ "$box" == *" "* ]] || box=$(box_of "$box")
  read -r left top width height <<<"$box"
  import -window root -crop "${width}x${height}+$((X + left))+$((Y + top))" +repage -depth 8 "$1:-"
}

picture_of() {
  pixels_of rgb "$1" | md5sum
}

# Everything above the buttons: the headline, the balloons and the remark line. The buttons are
# left out, since the style keeps the focused one pulsing.
picture_above_buttons() {
  local buttons_top
  read -r _ buttons_top _ _ <<<"$(box_of miniroto)"
  picture_of "0 0 $WIDTH $buttons_top"
}

# A balloon shows a number when its box holds dark pixels: the numbers are drawn dark on white.
numbers_shown() {
  local label shown=0
  for label in Label1 Label2 Label3 Label4 Label5 Label6; do
    if (($(pixels_of gray "$label" | od -An -v -tu1 |
      awk '{ for (i = 1; i <= NF; i++) if ($i < 128) n++ } END { print n + 0 }') > 8)); then
      shown=$((shown + 1))
    fi
  done
  echo "$shown"
}

within() {
  for _ in $(seq $(($1 * 4))); do
    "${@:2}" && return 0
    sleep 0.25
  done
  "${@:2}"
}

wait_until_still() {
  local seconds=$1 still_for=$2 previous="" current still=0
  for _ in $(seq $((seconds * 4))); do
    sleep 0.25
    current=$("${@:3}")
    if [ "$current" = "$previous" ]; then still=$((still + 1)); else still=0; fi
    previous=$current
    if ((still >= still_for * 4)); then return 0; fi
  done
  return 1
}

seconds_since() { awk -v from="$1" -v now="$EPOCHREALTIME" 'BEGIN { printf "%.2f", now - from }'; }

save_window() {
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage -strip "$1"
  echo "   saved $1 (${WIDTH} x ${HEIGHT})"
}
