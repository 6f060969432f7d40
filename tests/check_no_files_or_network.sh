#!/usr/bin/env bash
# While tamapick starts and draws, it opens no file for writing and no network socket: the real
# program runs under strace on a virtual X screen and two buttons are clicked, one draw nested
# in the other. Usage: check_no_files_or_network.sh path/to/tamapick
set -euo pipefail
program=$1
for tool in strace xvfb-run xdotool; do
  if ! command -v "$tool" >/dev/null; then
    echo "skipped: $tool is not installed (bash scripts/setup.sh installs it)"
    exit 0
  fi
done

trace=$(mktemp)
trap 'rm -f "$trace"' EXIT
export TRACE_FILE=$trace PROGRAM=$program
xvfb-run -a -s "-screen 0 640x480x24" bash -c '
  strace -f -qq -e trace=open,openat,openat2,creat,socket,connect -o "$TRACE_FILE" "$PROGRAM" 2>/dev/null &
  tracer=$!
  window=$(timeout 20 xdotool search --sync --onlyvisible --class tamapick | head -n 1)
  sleep 0.5
  xdotool mousemove --window "$window" 244 220 click 1   # Numbers3
  sleep 1
  xdotool mousemove --window "$window" 164 220 click 1   # Loto 6, inside the Numbers 3 draw
  sleep 2
  pkill -TERM -P "$tracer" || true   # the traced program is the tracer'"'"'s child
  wait
'

opened_for_writing=$(grep -E '(open|openat|openat2)\(.*(O_WRONLY|O_RDWR|O_CREAT|O_TRUNC|O_APPEND)|creat\(' "$trace" |
  grep -v '= -1 ' | grep -vE '"/dev/(null|tty|shm/)' || true)
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
