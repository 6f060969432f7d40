# Sourced by the Windows test scripts: runs tamapick under Wine on an invisible X screen and
# checks a Loto 6 draw the way a user sees it. The caller's EXIT trap must call stop_screen.
#   use_own_prefix <folder>   makes Wine use a prefix of the caller's own there
#   require_tools [tool...]   fails, naming them, if a tool the check needs (or one named) is missing
#   start_screen              starts Xvfb on a free display and exports DISPLAY
#   check_loto6_draw <screenshot> <command...>
#                             starts the program with the command and proves each step from the
#                             screen: the window appeared at its size and was painted; pressing
#                             ロト6 changed the headline; the draw ended with a number in each of
#                             the six balloons (only Loto 6 fills all six) and a closing remark
#                             after the hint line. Saves the window, also when a step fails.
#   stop_screen               ends the program, Xvfb and the Wine server

# shellcheck source=../watch-window.sh
source "$(dirname "${BASH_SOURCE[0]}")/../watch-window.sh"

screen_size="640 480"
screen_pid=""
draw_program_pid=""
window=""

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
  local number_file
  number_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "${screen_size/ /x}x24" -nolisten tcp 3>"$number_file" >/dev/null 2>&1 &
  screen_pid=$!
  within 10 test -s "$number_file" || true
  export DISPLAY=":$(tr -d '[:space:]' <"$number_file")"
  rm -f "$number_file"
  if [ "$DISPLAY" = : ] || ! xdpyinfo >/dev/null 2>&1; then
    echo "FAIL: Xvfb did not start, or takes no clients on display $DISPLAY" >&2
    return 1
  fi
}

# Ends the program started for a check, and Wine's server, which lingers a few seconds after its
# last program, with anything left in it.
end_program() {
  window=""
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
  shift
  run_loto6_draw "$@" || rc=$?
  if [ -n "$window" ]; then save_window "$screenshot"; fi
  end_program
  return "$rc"
}

fail_draw() {
  echo "FAIL: $*" >&2
  return 1
}

no_number_shown() { (($(numbers_shown) == 0)); }
headline_changed() { [ "$(picture_of Label8)" != "$headline_at_start" ]; }

run_loto6_draw() {
  "$@" &
  draw_program_pid=$!
  # Wine names the window with its title. Not ended early when the command that started the
  # program ends: a launcher (wine start with a shortcut) returns at once while the program goes on.
  if ! find_window 120 --name 'ほしだま★'; then
    kill -0 "$draw_program_pid" 2>/dev/null || echo "      (the command that started it ended)" >&2
    fail_draw "no window \"ほしだま★\" appeared within 120 s"
    return
  fi
  echo "   window \"$(xdotool getwindowname "$window")\", ${WIDTH} x ${HEIGHT}"
  [ "$WIDTH $HEIGHT" = "$window_size" ] ||
    { fail_draw "the window is ${WIDTH} x ${HEIGHT}, not ${window_size/ / x }"; return; }

  # Before the draw the number boxes are empty. A window not painted yet is black, so wait for
  # the empty boxes (a loaded machine paints late), and then for the rest of the first paint.
  within 30 no_number_shown ||
    { fail_draw "the number boxes are not empty 30 s after the window appeared"; return; }
  sleep 1
  headline_at_start=$(picture_of Label8)
  local remark_at_start remark_hint
  remark_at_start=$(picture_of Label7)

  # The click took effect once the headline changes: a draw writes it first.
  press roto6
  within 30 headline_changed ||
    { fail_draw "pressing ロト6 at $(centre_of roto6) in the window started no draw:" \
      "the headline did not change within 30 s"; return; }
  echo "   pressing ロト6 started a draw: the headline changed"

  # The draw writes its hint line with the headline; the closing remark must differ from both
  # the hint and the start-up remark. The draw has ended when everything above the buttons stops
  # changing for 4 s: its reels alone take about 11 s, Wine's timers make them longer, and the
  # closing remark follows them.
  remark_hint=$(picture_of Label7)
  wait_until_still 90 4 picture_above_buttons ||
    { fail_draw "the window was still changing 90 s after the draw began"; return; }
  local shown remark
  shown=$(numbers_shown)
  ((shown == 6)) || { fail_draw "after the draw $shown of the six balloons show a number"; return; }
  headline_changed || { fail_draw "after the draw the headline is the one it had at start-up"; return; }
  [ "$remark_hint" != "$remark_at_start" ] || { fail_draw "the draw began without its hint line"; return; }
  remark=$(picture_of Label7)
  [ "$remark" != "$remark_at_start" ] && [ "$remark" != "$remark_hint" ] ||
    { fail_draw "the remark line does not end with a closing remark"; return; }
  echo "   the draw ended with six numbers and a closing remark"
}
