#!/usr/bin/env bash
# Runs a window test on a desktop made for it alone, and removes that desktop afterwards:
#   run_on_desktop.sh x11|wayland [--gtk] [--gtk-font "FAMILY SIZE"] [--qt6ct] [--qt6ct-font "FAMILY SIZE"]
#                     [--qt6ct-dark] -- program [arguments...]
# x11 is a private Xvfb, wayland a private headless weston. --gtk and --gtk-font put the window
# under Qt's GTK platform theme (GTK_THEME from the caller's environment picks the GTK theme), the
# font written to a private gtk-3.0/settings.ini; --qt6ct* under qt6ct, its defaults or the font and the
# dark colour scheme (Fusion with qt6ct's "darker" palette) in a private qt6ct.conf. Nothing of
# the user's own configuration is read. A missing piece reports the row skipped with the reason.
set -euo pipefail
display=$1
shift
theme=""
gtk_font=""
qt6ct_font=""
qt6ct_dark=no
while [ "$1" != -- ]; do
  case "$1" in
    --gtk) theme=gtk3 ;;
    --gtk-font) theme=gtk3 gtk_font=$2; shift ;;
    --qt6ct) theme=qt6ct ;;
    --qt6ct-font) theme=qt6ct qt6ct_font=$2; shift ;;
    --qt6ct-dark) theme=qt6ct qt6ct_dark=yes ;;
    *) echo "run_on_desktop.sh: unknown option $1" >&2; exit 2 ;;
  esac
  shift
done
shift

plugins=${TAMAPICK_QT_PLUGINS:?the Qt plugin folder}
case "$theme" in
  gtk3) [ -e "$plugins/platformthemes/libqgtk3.so" ] ||
    { echo "skipped: Qt's GTK platform theme is not installed (qt6-gtk-platformtheme; bash scripts/setup.sh --tests)"; exit 0; } ;;
  qt6ct) [ -e "$plugins/platformthemes/libqt6ct.so" ] ||
    { echo "skipped: qt6ct is not installed (bash scripts/setup.sh)"; exit 0; } ;;
esac
server=Xvfb
[ "$display" = wayland ] && server=weston
command -v "$server" >/dev/null || { echo "skipped: $server is not installed (bash scripts/setup.sh --tests installs it where no desktop has a display server of its own)"; exit 0; }

home=$(mktemp -d)
chmod 700 "$home"
server_pid=""
# The server started below goes, and the private home with it, however the test ends.
trap '[ -z "$server_pid" ] || { kill "$server_pid"; wait "$server_pid"; } 2>/dev/null || true; rm -rf "$home"' EXIT

export XDG_CONFIG_HOME=$home/config XDG_RUNTIME_DIR=$home/runtime
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORMTHEME QT_STYLE_OVERRIDE
if [ -n "$theme" ]; then export QT_QPA_PLATFORMTHEME=$theme; fi
# GTK reads its settings from settings.ini on X11, and from GSettings on Wayland: both are
# private, GSettings through its key-file back end.
export GSETTINGS_BACKEND=keyfile
if [ -n "$gtk_font" ]; then
  mkdir -p "$XDG_CONFIG_HOME/gtk-3.0" "$XDG_CONFIG_HOME/glib-2.0/settings"
  printf '[Settings]\ngtk-font-name=%s\n' "$gtk_font" >"$XDG_CONFIG_HOME/gtk-3.0/settings.ini"
  printf "[org/gnome/desktop/interface]\nfont-name='%s'\n" "$gtk_font" >"$XDG_CONFIG_HOME/glib-2.0/settings/keyfile"
fi
if [ "$theme" = qt6ct ]; then
  # qt6ct keeps a font as QFont's own string: family, points, then the defaults.
  mkdir -p "$XDG_CONFIG_HOME/qt6ct"
  {
    echo "[Appearance]"
    if [ "$qt6ct_dark" = yes ]; then
      echo "style=Fusion"
      echo "custom_palette=true"
      echo "color_scheme_path=/usr/share/qt6ct/colors/darker.conf"
    fi
    if [ -n "$qt6ct_font" ]; then
      echo "[Fonts]"
      echo "general=\"${qt6ct_font% *},${qt6ct_font##* },-1,5,50,0,0,0,0,0\""
    fi
  } >"$XDG_CONFIG_HOME/qt6ct/qt6ct.conf"
fi

# Waits up to ten seconds for a test to hold: a server telling it is ready.
wait_until() {
  for _ in $(seq 200); do
    "$@" && return 0
    sleep 0.05
  done
  return 1
}

if [ "$display" = x11 ]; then
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$home/display" 2>"$home/server.log" &
  server_pid=$!
  wait_until test -s "$home/display" || { echo "FAIL: Xvfb did not start"; cat "$home/server.log"; exit 1; }
  export DISPLAY=":$(cat "$home/display")" QT_QPA_PLATFORM=xcb
  unset WAYLAND_DISPLAY
else
  socket=tamapick-desktop
  # --no-config: the user's weston.ini has no say; --idle-time=0: the screen never blanks.
  weston --backend=headless-backend.so --no-config --idle-time=0 --socket="$socket" \
    --log="$home/server.log" >/dev/null 2>&1 &
  server_pid=$!
  wait_until test -S "$XDG_RUNTIME_DIR/$socket" || { echo "FAIL: weston did not start"; cat "$home/server.log"; exit 1; }
  export WAYLAND_DISPLAY=$socket QT_QPA_PLATFORM=wayland
  unset DISPLAY
fi
# A session bus of the test's own, as a desktop session has: without one, libdbus launches a bus
# for the X screen where dbus-x11 is installed (dbus-launch --autolaunch), which outlives the test.
dbus-run-session -- "$@"
