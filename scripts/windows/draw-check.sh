# Sourced by the Windows test scripts: runs tamapick under Wine on an invisible X screen and
# checks a Loto 6 draw the way a user sees it. The caller's EXIT trap must call stop_screen.
#   use_own_prefix <folder>          makes Wine use a prefix of the caller's own there
#   require_tools [tool...]          fails, naming them, if the tools the check needs (and the
#                                    ones named) are missing
#   start_screen                     starts Xvfb on a free display and exports DISPLAY
#   check_loto6_draw <screenshot> <command...>
#                                    starts the program with the command and proves each step
#                                    from the screen: the window appeared at its size and was
#                                    painted; pressing ロト6 changed the headline; the draw ended
#                                    with a number in each of the six balloons (only Loto 6 fills
#                                    all six) and a closing remark after the hint line. Saves the
#                                    window as a PNG, also when a step fails.
#   stop_screen                      ends the program, Xvfb and the Wine server
# and, for other looks at the window:
#   find_program_window              waits for the window; sets draw_window, X, Y, WIDTH, HEIGHT
#   save_program_window <png>        saves the window as it is on the screen
#   end_program                      ends the program (started as draw_program_pid) and Wine
#   wait_until_still <seconds> <command...>
#                                    waits until a picture (picture_above_buttons, ...) stays put
# Every place in the window comes from window-layout.sh.

# shellcheck source=../window-layout.sh
source "$(dirname "${BASH_SOURCE[0]}")/../window-layout.sh"

screen_size="640 480"
screen_pid=""
draw_program_pid=""
draw_window=""

# Makes Wine use a prefix of the caller's own in the given folder (wineboot --init fills it), for
# a check that changes the prefix: no .NET or HTML engine (a fresh prefix would offer to fetch
# both), and no Linux menu entries for its Windows shortcuts (winemenubuilder would write them
# into this user's home).
use_own_prefix() {
  export WINEPREFIX=$1
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
}

require_tools() {
  local tool missing=()
  for tool in wine wineserver Xvfb xdpyinfo xdotool import "$@"; do
    command -v "$tool" >/dev/null || missing+=("$tool")
  done
  if ((${#missing[@]})); then
    echo "FAIL: not installed: ${missing[*]} (scripts/windows/build.sh installs them)" >&2
    return 1
  fi
}

stop_screen() {
  end_program
  if [ -n "$screen_pid" ]; then kill "$screen_pid" 2>/dev/null || true; fi
  screen_pid=""
}

# Xvfb picks a free display itself and writes its number once it accepts clients.
start_screen() {
  local number_file width height
  read -r width height <<<"$screen_size"
  number_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "${width}x${height}x24" -nolisten tcp 3>"$number_file" >/dev/null 2>&1 &
  screen_pid=$!
  for _ in $(seq 100); do
    if [ -s "$number_file" ]; then break; fi
    if ! kill -0 "$screen_pid" 2>/dev/null; then break; fi
    sleep 0.1
  done
  if [ ! -s "$number_file" ]; then
    rm -f "$number_file"
    echo "FAIL: Xvfb did not start" >&2
    return 1
  fi
  export DISPLAY=":$(tr -d '[:space:]' <"$number_file")"
  rm -f "$number_file"
  if ! xdpyinfo >/dev/null 2>&1; then
    echo "FAIL: Xvfb reported display $DISPLAY, but it takes no clients" >&2
    return 1
  fi
}

# A rectangle of the window as raw pixels: "left top width height", gray or rgb.
window_pixels() {
  local format=$1 left top width height
  read -r left top width height <<<"$2"
  import -window root -crop "${width}x${height}+$((X + left))+$((Y + top))" +repage -depth 8 "$format:-"
}

# A fingerprint of a control's box.
picture_of() {
  window_pixels rgb "$(box_of "$1")" | md5sum
}

# How many pixels of a control's box are dark: the numbers' window-text colour on white.
dark_pixels_in() {
  window_pixels gray "$(box_of "$1")" |
    od -An -v -tu1 | awk '{ for (i = 1; i <= NF; i++) if ($i < 128) n++ } END { print n + 0 }'
}

numbers_shown() {
  local label shown=0
  for label in Label1 Label2 Label3 Label4 Label5 Label6; do
    if (($(dark_pixels_in "$label") > 8)); then shown=$((shown + 1)); fi
  done
  echo "$shown"
}

# Everything above the buttons: the headline, the balloons and the remark line. The buttons are
# left out, since the style keeps the focused one pulsing.
picture_above_buttons() {
  local buttons_top
  read -r _ buttons_top _ _ <<<"$(box_of miniroto)"
  window_pixels rgb "0 0 $WIDTH $buttons_top" | md5sum
}

# Waits until what a command prints (a picture's fingerprint) stays the same for four seconds,
# looking every half second; fails if it has not after the given number of seconds.
wait_until_still() {
  local seconds=$1 previous="" current still=0
  shift
  for _ in $(seq $((seconds * 2))); do
    sleep 0.5
    current=$("$@")
    if [ "$current" = "$previous" ]; then still=$((still + 1)); else still=0; fi
    previous=$current
    if ((still >= 8)); then return 0; fi
  done
  return 1
}

# Waits for the program's window, which Wine names with its title, and sets draw_window and the
# window's X, Y, WIDTH and HEIGHT on the screen.
find_program_window() {
  # Not ended early when the command that started the program ends: a launcher (wine start
  # with a shortcut) returns at once while the program goes on.
  draw_window=$(timeout 120 xdotool search --sync --onlyvisible --name 'ほしだま★' | head -n 1) || true
  if [ -z "$draw_window" ]; then
    echo "FAIL: no window \"ほしだま★\" appeared within 120 s" >&2
    if ! kill -0 "$draw_program_pid" 2>/dev/null; then echo "      (the command that started it had ended)" >&2; fi
    return 1
  fi
  eval "$(xdotool getwindowgeometry --shell "$draw_window")"
  echo "   window \"$(xdotool getwindowname "$draw_window")\", ${WIDTH} x ${HEIGHT}"
}

save_program_window() {
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage -strip "$1"
  echo "   saved $1"
}

# Ends the program started for a check, and Wine's server, which lingers a few seconds after its
# last program, with anything left in it.
end_program() {
  draw_window=""
  if [ -n "$draw_program_pid" ]; then
    kill "$draw_program_pid" 2>/dev/null || true
    wait "$draw_program_pid" 2>/dev/null || true
    draw_program_pid=""
  fi
  wineserver -k 2>/dev/null || true
}

# The program is ended afterwards whatever the outcome, so that Wine's server can end too.
check_loto6_draw() {
  local screenshot=$1 rc=0
  run_loto6_draw "$@" || rc=$?
  if [ -n "$draw_window" ]; then save_program_window "$screenshot"; fi
  end_program
  return "$rc"
}

run_loto6_draw() {
  shift # the screenshot, saved by check_loto6_draw
  "$@" &
  draw_program_pid=$!
  find_program_window || return 1
  if [ "$WIDTH $HEIGHT" != "$window_size" ]; then
    echo "FAIL: the window is ${WIDTH} x ${HEIGHT}, not ${window_size/ / x }" >&2
    return 1
  fi

  # Before the draw the number boxes are empty. A window not painted yet is black, so wait for
  # the empty boxes (a loaded machine paints late), and then for the rest of the first paint.
  for _ in $(seq 60); do
    if (($(numbers_shown) == 0)); then break; fi
    sleep 0.5
  done
  if (($(numbers_shown) != 0)); then
    echo "FAIL: the number boxes are not empty 30 s after the window appeared" >&2
    return 1
  fi
  sleep 1
  local headline_at_start remark_at_start
  headline_at_start=$(picture_of Label8)
  remark_at_start=$(picture_of Label7)

  # Press ロト6, then move the pointer off the window so the button is not caught half-highlighted.
  local x y screen_width screen_height
  read -r x y <<<"$(centre_of roto6)"
  read -r screen_width screen_height <<<"$screen_size"
  xdotool mousemove --window "$draw_window" "$x" "$y" click 1
  xdotool mousemove "$((screen_width - 1))" "$((screen_height - 1))"

  # The click took effect once the headline changes: a draw writes it first.
  local changed=no
  for _ in $(seq 60); do
    sleep 0.5
    if [ "$(picture_of Label8)" != "$headline_at_start" ]; then
      changed=yes
      break
    fi
  done
  if [ "$changed" = no ]; then
    echo "FAIL: pressing ロト6 (at $x, $y in the window) started no draw: the headline" \
      "did not change within 30 s" >&2
    return 1
  fi
  echo "   pressing ロト6 started a draw: the headline changed"

  # The draw writes its hint line with the headline; the closing remark must differ from both
  # the hint and the start-up remark. The draw has ended when everything above the buttons stops
  # changing: its reels alone take about 11 s, Wine's timers make them longer, and the closing
  # remark follows them.
  local remark_hint shown
  remark_hint=$(picture_of Label7)
  if ! wait_until_still 90 picture_above_buttons; then
    echo "FAIL: the window was still changing 90 s after the draw began" >&2
    return 1
  fi
  shown=$(numbers_shown)
  if ((shown != 6)); then
    echo "FAIL: after the draw $shown of the six balloons show a number" >&2
    return 1
  fi
  if [ "$(picture_of Label8)" = "$headline_at_start" ]; then
    echo "FAIL: after the draw the headline is the one it had at start-up" >&2
    return 1
  fi
  local remark
  remark=$(picture_of Label7)
  if [ "$remark_hint" = "$remark_at_start" ]; then
    echo "FAIL: the draw began without its hint line" >&2
    return 1
  fi
  if [ "$remark" = "$remark_at_start" ] || [ "$remark" = "$remark_hint" ]; then
    echo "FAIL: the remark line does not end with a closing remark" >&2
    return 1
  fi
  echo "   the draw ended with six numbers and a closing remark"
}
