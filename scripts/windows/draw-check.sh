# Sourced by the Windows test scripts: runs tamapick under Wine on an invisible X screen and
# checks a Loto 6 draw the way a user sees it. The caller's EXIT trap must call stop_screen.
#   start_screen                     starts Xvfb on a free display and exports DISPLAY
#   check_loto6_draw <screenshot> <command...>
#                                    starts the program with the command, presses ロト6 and
#                                    checks that the draw ends with a number in each of the six
#                                    balloons and a closing remark; saves the window as a PNG
#   stop_screen                      ends the program, Xvfb and the Wine server

screen_pid=""
draw_program_pid=""

stop_screen() {
  if [ -n "$draw_program_pid" ]; then kill "$draw_program_pid" 2>/dev/null || true; fi
  draw_program_pid=""
  # Wine's server lingers a few seconds after its last program; end it and anything left in it.
  wineserver -k 2>/dev/null || true
  if [ -n "$screen_pid" ]; then kill "$screen_pid" 2>/dev/null || true; fi
  screen_pid=""
}

# Xvfb picks a free display itself and writes its number once it accepts clients.
start_screen() {
  local number_file
  number_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp 3>"$number_file" >/dev/null 2>&1 &
  screen_pid=$!
  for _ in $(seq 100); do
    if [ -s "$number_file" ]; then break; fi
    if ! kill -0 "$screen_pid" 2>/dev/null; then break; fi
    sleep 0.1
  done
  if [ ! -s "$number_file" ]; then
    rm -f "$number_file"
    echo "FAIL: Xvfb did not start (is the xvfb package installed?)" >&2
    return 1
  fi
  export DISPLAY=":$(tr -d '[:space:]' <"$number_file")"
  rm -f "$number_file"
  if ! xdpyinfo >/dev/null 2>&1; then
    echo "FAIL: Xvfb reported display $DISPLAY, but it takes no clients" >&2
    return 1
  fi
}

# How many pixels of a rectangle of the window are dark (text), from the screen itself.
dark_pixels() {
  local width=$1 height=$2 left=$3 top=$4
  import -window root -crop "${width}x${height}+$((X + left))+$((Y + top))" +repage -depth 8 gray:- |
    od -An -v -tu1 | awk '{ for (i = 1; i <= NF; i++) if ($i < 128) n++ } END { print n + 0 }'
}

# A fingerprint of a rectangle of the window.
picture_of() {
  local width=$1 height=$2 left=$3 top=$4
  import -window root -crop "${width}x${height}+$((X + left))+$((Y + top))" +repage rgb:- | md5sum
}

# The number labels: 36 x 28 px inside each balloon, 64 px apart from x = 32.
numbers_shown() {
  local column shown=0
  for column in 0 1 2 3 4 5; do
    if (($(dark_pixels 36 28 $((32 + 64 * column)) 64) > 8)); then shown=$((shown + 1)); fi
  done
  echo "$shown"
}

# The program is ended afterwards whatever the outcome, so that Wine's server can end too.
check_loto6_draw() {
  local rc=0
  run_loto6_draw "$@" || rc=$?
  if [ -n "$draw_program_pid" ]; then
    kill "$draw_program_pid" 2>/dev/null || true
    wait "$draw_program_pid" 2>/dev/null || true
    draw_program_pid=""
  fi
  wineserver -k 2>/dev/null || true
  return "$rc"
}

run_loto6_draw() {
  local screenshot=$1
  shift
  "$@" &
  draw_program_pid=$!
  # Wine names the window with the program's title; wait until it is mapped.
  local window
  window=$(timeout 120 xdotool search --sync --onlyvisible --name 'ほしだま★' | head -n 1) || true
  if [ -z "$window" ]; then
    echo "FAIL: no window \"ほしだま★\" appeared within 120 s" >&2
    if ! kill -0 "$draw_program_pid" 2>/dev/null; then echo "      (the program had ended)" >&2; fi
    return 1
  fi
  eval "$(xdotool getwindowgeometry --shell "$window")" # sets X, Y, WIDTH, HEIGHT
  echo "   window \"$(xdotool getwindowname "$window")\", ${WIDTH} x ${HEIGHT}"
  if [ "$WIDTH" != 421 ] || [ "$HEIGHT" != 279 ]; then
    echo "FAIL: the window is ${WIDTH} x ${HEIGHT}, not 421 x 279" >&2
    return 1
  fi

  # Before the draw the number boxes are empty and the remark line says "by pomuchi". A window
  # not painted yet is black, so wait for the empty boxes (a loaded machine paints late).

  for _ in $(seq 60); do
    if (($(numbers_shown) == 0)); then break; fi
    sleep 0.5
  done
  if (($(numbers_shown) != 0)); then
    echo "FAIL: the number boxes are not empty 30 s after the window appeared" >&2
    return 1
  fi
  sleep 1 # the rest of the first paint
  local remark_at_start remark_hint="" remark
  remark_at_start=$(picture_of 169 33 128 168)

  # Press ロト6 (x 128..201, y 208..233 in the window), then move the pointer away so the button
  # is not caught half-highlighted.
  xdotool mousemove --window "$window" 164 220 click 1
  xdotool mousemove 630 470
  # The draw has ended when the headline, the balloons and the remark line stop changing (the
  # buttons below are left out: the style keeps the focused one pulsing). Its reels alone take
  # about 11 s, Wine's timers make them longer, and the closing remark follows them. The first
  # new remark line is the draw's hint, which the closing remark must not be.
  local previous="" current still=0
  for _ in $(seq 180); do
    sleep 0.5
    remark=$(picture_of 169 33 128 168)
    if [ -z "$remark_hint" ] && [ "$remark" != "$remark_at_start" ]; then remark_hint=$remark; fi
    current=$(picture_of "$WIDTH" 205 0 0)
    if [ "$current" = "$previous" ]; then still=$((still + 1)); else still=0; fi
    previous=$current
    if ((still >= 8)); then break; fi
  done
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage -strip "$screenshot"
  echo "   saved $screenshot"
  if ((still < 8)); then
    echo "FAIL: the window was still changing after 90 s" >&2
    return 1
  fi
  local shown
  shown=$(numbers_shown)
  if ((shown != 6)); then
    echo "FAIL: after the draw $shown of the six balloons show a number" >&2
    return 1
  fi
  if [ -z "$remark_hint" ] || [ "$remark" = "$remark_at_start" ] || [ "$remark" = "$remark_hint" ]; then
    echo "FAIL: the remark line does not end with a closing remark" >&2
    return 1
  fi
  echo "   the draw ended with six numbers and a closing remark"
}
