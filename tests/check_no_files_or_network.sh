#!/usr/bin/env bash
# While tamapick starts and draws, it opens no file for writing and no network socket: the real
# program runs under strace as an X client of a virtual screen of this test's own, with a private
# sound server, and two buttons are clicked, one draw nested in the other. The trace is judged only
# once the window was found and the server has heard both closing beeps, the nested Loto 6 draw's
# no sooner than its reels allow, so a trace of a program that never drew cannot pass.
# The only writes allowed are the sound library's own: libcanberra's shared lookup cache in the
# user's cache folder, and libpulse's authentication cookie, which libpulse opens for writing (to
# create it where the server has not) and on a desktop only reads.
# Usage: check_no_files_or_network.sh path/to/tamapick
set -euo pipefail
program=$(realpath "$1")
# shellcheck source=../scripts/window-layout.sh
. "$(dirname "$0")/../scripts/window-layout.sh"
# shellcheck source=../scripts/lottery-facts.sh
. "$(dirname "$0")/../scripts/lottery-facts.sh"
# Its beep cannot come sooner after its click than the Loto 6 reels and pauses allow.
loto6_least_seconds=$(nominal_seconds "Loto 6")

for tool in strace Xvfb xdotool dbus-daemon pulseaudio pactl; do
  if ! command -v "$tool" >/dev/null; then
    echo "skipped: $tool is not installed (bash scripts/setup.sh --tests installs it)"
    exit 0
  fi
done

fail() {
  echo "FAIL: $*"
  exit 1
}

dir=$(mktemp -d)
started=()
tracer=
cleanup() {
  local i
  # The traced program first: strace leaves its tracee running when it is told to end.
  [ -z "$tracer" ] || kill $(pgrep -P "$tracer") 2>/dev/null || true
  for ((i = ${#started[@]} - 1; i >= 0; i--)); do kill "${started[i]}" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$dir"
}
trap cleanup EXIT
mkdir -m 700 "$dir/home" "$dir/run" "$dir/server"
home=$dir/home

# Waits up to 10 s for a file to pass a test (-s has content, -S is a socket), or fails with
# what was meant to make it and that program's log.
wait_for() { # wait_for TEST PATH WHAT LOG
  for _ in $(seq 200); do
    test "$1" "$2" && return 0
    sleep 0.05
  done
  fail "$3 did not start: $(cat "$4")"
}

# The virtual screen. It tells the display it took on descriptor 3.
Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp 3>"$dir/display" >"$dir/xvfb.log" 2>&1 &
started+=($!)
wait_for -s "$dir/display" Xvfb "$dir/xvfb.log"
display=:$(head -n 1 "$dir/display")

# A session bus of the test's own, as a desktop session has. Without one, libdbus launches a bus
# for the X screen where dbus-x11 is installed (dbus-launch --autolaunch): a daemon that strace -f
# would wait for, and that would outlive the test. What the bus starts keeps to the private home.
bus=unix:path=$dir/bus
env HOME="$home" XDG_RUNTIME_DIR="$dir/run" dbus-daemon --session --nofork --nopidfile --address="$bus" >"$dir/bus.log" 2>&1 &
started+=($!)
wait_for -S "$dir/bus" "the session bus" "$dir/bus.log"

# The sound server keeps its own files apart from the program's home. Its sink is loaded only once
# the event listener runs, so that the listener's report of the sink shows it listening.
server_environment=(HOME="$dir/server" XDG_RUNTIME_DIR="$dir/server" PULSE_RUNTIME_PATH="$dir/server/runtime"
  PULSE_STATE_PATH="$dir/server/state")
server=unix:$dir/server/native
env "${server_environment[@]}" pulseaudio -n --daemonize=no --system=no --use-pid-file=no --exit-idle-time=-1 \
  --realtime=no --high-priority=no -L "module-native-protocol-unix auth-anonymous=1 socket=$dir/server/native" \
  >"$dir/pulseaudio.log" 2>&1 &
started+=($!)
wait_for -S "$dir/server/native" "the sound server" "$dir/pulseaudio.log"
events=$dir/server-events
env "${server_environment[@]}" PULSE_SERVER="$server" pactl subscribe >"$events" 2>&1 &
started+=($!)
server_command() { env "${server_environment[@]}" PULSE_SERVER="$server" pactl "$@" >/dev/null; }
# Each command is a client coming and going: once the listener reports one, it listens.
for _ in $(seq 100); do
  server_command info
  [ -s "$events" ] && break
  sleep 0.05
done
server_command load-module module-null-sink sink_name=trace
for _ in $(seq 100); do
  grep -q "'new' on sink #" "$events" && break
  sleep 0.05
done
grep -q "'new' on sink #" "$events" || fail "the sound server's events do not show its sink: $(cat "$events")"
# Each alert the server plays is a stream into its one sink.
beeps_heard() { grep -c "'new' on sink-input #" "$events" || true; }

trace=$dir/trace
# A clean environment with X as the platform, whatever the suite runs on.
env -i PATH="$PATH" LANG=C.UTF-8 HOME="$home" XDG_RUNTIME_DIR="$dir/run" XDG_CACHE_HOME="$home/.cache" \
  DISPLAY="$display" DBUS_SESSION_BUS_ADDRESS="$bus" QT_QPA_PLATFORM=xcb PULSE_SERVER="$server" CANBERRA_DRIVER=pulse \
  strace -f -qq --seccomp-bpf -e trace=open,openat,openat2,creat,socket,connect -o "$trace" \
  "$program" >"$dir/program.log" 2>&1 &
tracer=$!
started+=("$tracer")

window=$(DISPLAY=$display timeout 20 xdotool search --sync --onlyvisible --class tamapick 2>/dev/null | head -n 1) || true
if [ -z "$window" ]; then
  kill -0 "$tracer" 2>/dev/null || fail "the program ended before showing its window: $(cat "$dir/program.log")"
  fail "no tamapick window on the virtual screen within 20 s"
fi
click() {
  local x y
  read -r x y <<<"$(centre_of "$1")"
  DISPLAY=$display xdotool mousemove --sync --window "$window" "$x" "$y" click 1
}
click Numbers3
sleep 1
# Timed before the click is sent: the draw cannot start sooner, while a time taken after xdotool
# has ended may be late by however long a loaded machine takes to run this script again.
loto6_clicked=$EPOCHREALTIME
click roto6 # inside the Numbers 3 draw, which carries on once Loto 6 has ended

# Both draws end with a beep: the nested Loto 6 first, then Numbers 3.
first_beep_at=
deadline=$((SECONDS + 30))
while [ "$SECONDS" -lt "$deadline" ]; do
  heard=$(beeps_heard)
  if [ "$heard" -ge 1 ] && [ -z "$first_beep_at" ]; then first_beep_at=$EPOCHREALTIME; fi
  if [ "$heard" -ge 2 ]; then break; fi
  sleep 0.05
done
[ "$heard" -ge 2 ] || fail "the sound server heard $heard of the two draws' beeps within 30 s"
first_beep_after=$(awk -v a="$loto6_clicked" -v b="$first_beep_at" 'BEGIN { printf "%.2f", b - a }')
awk -v t="$first_beep_after" -v least="$loto6_least_seconds" 'BEGIN { exit !(t >= least) }' ||
  fail "the first beep came $first_beep_after s after the Loto 6 click, before its reels could end"

program_pid=$(pgrep -P "$tracer") || fail "the traced program is gone before the end of the test"
kill -TERM "$program_pid"
wait "$tracer" || true

opened_for_writing=$(grep -E '(open|openat|openat2)\(.*(O_WRONLY|O_RDWR|O_CREAT|O_TRUNC|O_APPEND)|creat\(' "$trace" |
  grep -v '= -1 ' | grep -vE '"/dev/(null|tty|shm/)' |
  grep -vF -e "\"$home/.cache/event-sound-cache.tdb." -e "\"$home/.config/pulse/cookie\"" || true)
network=$(grep -E 'socket\((AF_INET|AF_INET6|AF_PACKET|AF_NETLINK)|connect\(.*sa_family=AF_INET' "$trace" || true)
if [ -n "$opened_for_writing" ] || [ -n "$network" ]; then
  echo "FAIL: files opened for writing or network sockets:"
  printf '%s\n' "$opened_for_writing" "$network"
  exit 1
fi
echo "window found, both draws beeped on the server (Loto 6 $first_beep_after s after its click);"
echo "no file opened for writing and no network socket in $(wc -l <"$trace") traced calls"
