#!/usr/bin/env bash
# Runs a window test as a native Wayland client of a private headless weston, then checks in the
# client's own protocol log that the window asked for its title, its fixed size and its app id,
# acknowledged the compositor's configuration and drew. Usage: run_on_weston.sh app-id test-program [arguments...]
set -euo pipefail
app_id=$1
shift
if ! command -v weston >/dev/null; then
  echo "skipped: weston is not installed (bash scripts/setup.sh installs it)"
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
status=0
WAYLAND_DISPLAY=$socket QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=client "$@" 2>"$log" || status=$?
# The test's own messages, without the protocol traffic.
grep -v -E '^\[ *[0-9.]+\] ' "$log" || true
if [ "$status" -ne 0 ]; then
  echo "FAIL: the test program failed with status $status on Wayland"
  exit 1
fi

missing=0
for request in 'xdg_toplevel@[0-9]+\.set_title\("ほしだま★"\)' \
  'xdg_toplevel@[0-9]+\.set_min_size\(421, 279\)' \
  'xdg_toplevel@[0-9]+\.set_max_size\(421, 279\)' \
  "xdg_toplevel@[0-9]+\\.set_app_id\\(\"${app_id//./\\.}\"\\)" \
  'xdg_surface@[0-9]+\.ack_configure\([0-9]+\)' \
  'wl_surface@[0-9]+\.attach\(wl_buffer@[0-9]+, 0, 0\)'; do
  if ! grep -q -E -- "-> $request" "$log"; then
    echo "FAIL: the Wayland client never sent $request"
    missing=1
  fi
done
if [ "$missing" -ne 0 ]; then
  echo "the client's log begins:"
  head -n 20 "$log"
  exit 1
fi
echo "the window asked for its title, 421 x 279 as both its minimum and maximum size and app id $app_id;"
echo "it took the compositor's configuration and drew"
