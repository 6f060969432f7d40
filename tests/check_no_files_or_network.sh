#!/usr/bin/env bash
# While tamapick starts and draws, it opens no file for writing and no network socket: the real
# program runs under strace on a virtual X screen with a private sound server, and two buttons
# are clicked, one draw nested in the other; both run to their end, beeps included. The only
# writes allowed are the sound library's own: libcanberra's shared lookup cache in the user's
# cache folder, and libpulse's authentication cookie, which libpulse opens for writing (to create
# it where the server has not) and on a desktop only reads.
# Usage: check_no_files_or_network.sh path/to/tamapick
set -euo pipefail
program=$1
for tool in strace xvfb-run xdotool pulseaudio; do
  if ! command -v "$tool" >/dev/null; then
    echo "skipped: $tool is not installed (bash scripts/setup.sh installs it)"
    exit 0
  fi
done

trace=$(mktemp)
home=$(mktemp -d)
server_pid=
cleanup() {
  [ -z "$server_pid" ] || kill "$server_pid" 2>/dev/null || true
  rm -rf "$trace" "$home"
}
trap cleanup EXIT
mkdir -m 700 "$home/run" "$home/server"
# The server keeps its own files apart from the program's home.
HOME=$home/server XDG_RUNTIME_DIR=$home/server PULSE_RUNTIME_PATH=$home/server/runtime \
  PULSE_STATE_PATH=$home/server/state pulseaudio -n --daemonize=no --system=no --use-pid-file=no \
  --exit-idle-time=-1 --realtime=no --high-priority=no -L "module-null-sink sink_name=trace" \
  -L "module-native-protocol-unix auth-anonymous=1 socket=$home/server/native" >/dev/null 2>&1 &
server_pid=$!
for _ in $(seq 100); do [ -S "$home/server/native" ] && break; sleep 0.05; done
export HOME=$home XDG_RUNTIME_DIR=$home/run XDG_CACHE_HOME=$home/.cache PULSE_SERVER=unix:$home/server/native
export CANBERRA_DRIVER=pulse TRACE_FILE=$trace PROGRAM=$program
xvfb-run -a -s "-screen 0 640x480x24" bash -c '
  strace -f -qq -e trace=open,openat,openat2,creat,socket,connect -o "$TRACE_FILE" "$PROGRAM" 2>/dev/null &
  tracer=$!
  window=$(timeout 20 xdotool search --sync --onlyvisible --class tamapick | head -n 1)
  sleep 0.5
  xdotool mousemove --window "$window" 244 220 click 1   # Numbers3
  sleep 1
  xdotool mousemove --window "$window" 164 220 click 1   # Loto 6, inside the Numbers 3 draw
  sleep 13   # Loto 6 runs 10.76 s, then Numbers 3 ends; both beep
  pkill -TERM -P "$tracer" || true   # the traced program is the tracer'"'"'s child
  wait
'

opened_for_writing=$(grep -E '(open|openat|openat2)\(.*(O_WRONLY|O_RDWR|O_CREAT|O_TRUNC|O_APPEND)|creat\(' "$trace" |
  grep -v '= -1 ' | grep -vE '"/dev/(null|tty|shm/)' |
  grep -vF -e "\"$home/.cache/event-sound-cache.tdb." -e "\"$home/.config/pulse/cookie\"" || true)
network=$(grep -E 'socket\((AF_INET|AF_INET6|AF_PACKET|AF_NETLINK)|connect\(.*sa_family=AF_INET' "$trace" || true)
calls=$(wc -l <"$trace")

if [ "$calls" -lt 20 ]; then
  echo "FAIL: the trace holds only $calls calls: the program did not run"
  exit 1
fi
if [ -n "$opened_for_writing" ] || [ -n "$network" ]; then
  echo "FAIL: files opened for writing or network sockets:"
  printf '%s\n' "$opened_for_writing" "$network"
  exit 1
fi
echo "no file opened for writing and no network socket in $calls traced calls"
