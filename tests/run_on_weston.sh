#!/usr/bin/env bash
# Runs a window test as a native Wayland client of a private headless weston, then checks in the
# client's own protocol log that the window asked for its title, its fixed size and its app id,
# acknowledged the compositor's configuration and drew. Usage: run_on_weston.sh app-id test-program [arguments...]
set -euo pipefail
app_id=$1
shift
if ! command -v weston >/dev/null; then
  echo "skipped: weston is not installed (bash scripts/setup.sh --tests installs it where no desktop has a display server of its own)"
  exit 0
fi

runtime_dir=$(mktemp -d)
chmod 700 "$runtime_dir"
weston_pid=""
cleanup() {
  if [ -n "$weston_pid" ]; then
    kill "$weston_pid" 2>/dev/null || true
    wait "$weston_pid" 2>/dev/null || true
  fi
  rm -rf "$runtime_dir"
}
trap cleanup EXIT

export XDG_RUNTIME_DIR=$runtime_dir
socket=tamapick-test
# --no-config: the user's weston.ini has no say; --idle-time=0: the screen never blanks.
weston --backend=headless-backend.so --no-config --idle-time=0 --socket="$socket" \
  --log="$runtime_dir/weston.log" >/dev/null 2>&1 &
weston_pid=$!
for _ in $(seq 100); do
  [ -S "$runtime_dir/$socket" ] && break
  sleep 0.05
done
if [ ! -S "$runtime_dir/$socket" ]; then
  echo "FAIL: weston did not start"
  cat "$runtime_dir/weston.log"
  exit 1
fi

log=$runtime_dir/client.log
results=$runtime_dir/results.txt
status=0
# Qt 6.8 and later draw their own title bar on weston and ask for the window's size with it
# (427 x 312 around a 421 x 279 window); without that decoration the sizes asked for are the
# window's own, which is what this checks, on every Qt.
# The client runs in a session bus of its own, as on a desktop, and never in one that libdbus would
# launch for it and leave behind.
WAYLAND_DISPLAY=$socket QT_QPA_PLATFORM=wayland QT_WAYLAND_DISABLE_WINDOWDECORATION=1 WAYLAND_DEBUG=client \
  dbus-run-session -- "$@" >"$results" 2>"$log" || status=$?
cat "$results"
# The test's own messages, without the protocol traffic. libwayland stamps each protocol line
# with milliseconds ("[1234567.890] "); newer ones (1.24) with the time of day ("[00:16:51.518217] ").
stamp='^\[ *[0-9:.]+\] '
grep -v -E "$stamp" "$log" || true
if [ "$status" -ne 0 ]; then
  echo "FAIL: the test program failed with status $status on Wayland"
  exit 1
fi
# A test whose set-up skipped it (a sound server not installed) opened no window at all.
skipped=$(grep -m 1 -E '^SKIP +: [^ ]+::initTestCase\(\) ' "$results" | sed -E 's/^SKIP +: [^ ]+ //') || true
if [ -n "$skipped" ]; then
  echo "skipped: $skipped"
  exit 0
fi

missing=0
# An object is named interface@id, or interface#id since libwayland 1.23.
id='[@#][0-9]+'
for request in "xdg_toplevel$id\\.set_title\\(\"ほしだま★\"\\)" \
  "xdg_toplevel$id\\.set_min_size\\(421, 279\\)" \
  "xdg_toplevel$id\\.set_max_size\\(421, 279\\)" \
  "xdg_toplevel$id\\.set_app_id\\(\"${app_id//./\\.}\"\\)" \
  "xdg_surface$id\\.ack_configure\\([0-9]+\\)" \
  "wl_surface$id\\.attach\\(wl_buffer$id, 0, 0\\)"; do
  if ! grep -q -E -- "$stamp.*-> $request" "$log"; then
    echo "FAIL: the Wayland client never sent $request"
    missing=1
  fi
done
if [ "$missing" -ne 0 ]; then
  echo "the client's log begins:"
  head -n 20 "$log"
  exit 1
fi
# Each frame the window draws is a buffer attached to its surface. The sound test opens seven
# windows, which draw a frame each while idle, and runs eight Numbers 3 draws, whose reels drew
# about 65 frames each (505 in all, on a loaded machine).
least_frames=100
frames=$(grep -c -E -- "$stamp.*-> wl_surface$id\\.attach\\(wl_buffer$id" "$log" || true)
if [ "$frames" -lt "$least_frames" ]; then
  echo "FAIL: the window drew $frames frames on Wayland, fewer than its draws' reels turn ($least_frames)"
  exit 1
fi
echo "the window asked for its title, 421 x 279 as both its minimum and maximum size and app id $app_id;"
echo "it took the compositor's configuration and drew $frames frames"
