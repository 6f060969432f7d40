#!/usr/bin/env bash
# Installs the Debian package on a fresh, minimal Debian system and uses it as a player would: apt
# pulls in what it needs, the program starts from the player's PATH and shows its window, the menu
# entry validates where it is installed, the manual page reads, and purging leaves no file behind.
#   bash scripts/check-package-install.sh [bookworm|trixie|testing] [package.deb]
# The release defaults to bookworm (Debian 12), the package to the one scripts/package-on.sh made
# for that release in packages/RELEASE/, or else the one in build-package/. Runs as root; the
# minimal system is a fresh overlay of the one scripts/debian-chroot.sh keeps (made first if
# missing, about 100 MB with the packages it installs), thrown away at the end, so it is not part
# of the test suite. This script runs itself inside that system (--inside) for the check proper.
set -euo pipefail

if [ "${1:-}" != --inside ]; then
  cd "$(dirname "$0")/.."
  release=bookworm
  case "${1:-}" in
    bookworm | trixie | testing) release=$1; shift ;;
  esac
  package=${1:-}
  [ -n "$package" ] || for package in packages/"$release"/tamapick_*.deb build-package/tamapick_*.deb; do
    [ ! -f "$package" ] || break
  done
  if [ ! -f "$package" ]; then
    echo "no package: run bash scripts/package.sh first, or name the .deb" >&2
    exit 1
  fi
  staging=$(mktemp -d /tmp/tamapick-install-check.XXXXXX)
  trap 'rm -rf "$staging"' EXIT
  cp "$package" scripts/check-package-install.sh scripts/watch-window.sh scripts/window-layout.sh "$staging/"
  bash scripts/debian-chroot.sh "$release" --fresh --bind "$staging" -- \
    bash "$staging/check-package-install.sh" --inside "$staging/$(basename "$package")"
  exit
fi

# Inside the fresh system, as root.
package=$2
export DEBIAN_FRONTEND=noninteractive
step() { printf '\n== %s\n' "$*"; }
# A login shell, as a desktop session starts one (its PATH has /usr/games), in a UTF-8 locale as
# desktop sessions have.
as_player() { runuser -l player -c "export LANG=C.UTF-8; $*"; }
# Every file on the system outside the folders that only hold apt's and dpkg's own bookkeeping,
# caches and logs.
snapshot() {
  find / -xdev \( -path /tmp -o -path /var/lib/apt -o -path /var/lib/dpkg -o -path /var/cache \
    -o -path /var/log -o -path /root -o -path /home \) -prune -o -print | sort
}

step "A minimal system (debootstrap --variant=minbase)"
useradd --create-home --shell /bin/bash player
apt-get update -qq
before=$(snapshot)
packages_before=$(dpkg-query -W -f='${Package}\n' | sort)
# The cached system carries two files of its own named after the project (the helper's marker of a
# finished debootstrap, and its apt setting for this machine's mirror); only new ones count.
named_before=$(find / -xdev -path /tmp -prune -o -iname '*tamapick*' -print | sort)

step "The tools this check uses (not the package's dependencies)"
tools=(xvfb xauth xdotool x11-apps desktop-file-utils man-db)
apt-get install -y -qq --no-install-recommends "${tools[@]}" >/dev/null

step "apt-get install ./$(basename "$package")"
cp "$package" /tmp/
apt-get install -y "/tmp/$(basename "$package")" >/tmp/install.log
grep -E 'NEW packages|newly installed|^  ' /tmp/install.log
dpkg-query -W -f='${Package} ${Version} ${Status}\n' tamapick fonts-ipafont-gothic \
  sound-theme-freedesktop libcanberra-pulse qt6-wayland libqt6widgets6 libqt6svg6

step "tamapick from the player's PATH, on a virtual screen"
cp "$(dirname "$0")/watch-window.sh" "$(dirname "$0")/window-layout.sh" /tmp/
cat >/tmp/show-window.sh <<'EOF'
. /tmp/watch-window.sh
# Mini Loto, the draw Space starts: 6.56 s of reels and 2.5 s of pauses, the longest 1 s.
mini_loto_least_seconds=9.06
status=0
pass() { echo "ok: $*"; }
fail() { echo "FAILED: $*"; status=1; }
echo "tamapick is $(command -v tamapick)"
tamapick 2>/tmp/tamapick.stderr &
program=$!
find_window 20 --class tamapick || { fail "no tamapick window within 20 s"; exit 1; }
pass "window shown: \"$(xdotool getwindowname "$window")\", $(xdotool getwindowgeometry "$window" | grep Geometry)"
# Without a window manager nothing has the focus until the window is given it; the focused
# button then shows its focus frame, before the pictures of the idle window are taken.
xdotool windowfocus --sync "$window"
sleep 1  # let the first paint land
# The window's pixels, to tell a still window from a drawing one. A window that cannot be read
# ends the check: two empty captures would look alike.
picture() {
  xwd -silent -id "$window" >/tmp/window.xwd || return 1
  md5sum </tmp/window.xwd | cut -d ' ' -f 1
}
if ! idle1=$(picture) || ! sleep 0.5 || ! idle2=$(picture); then
  fail "xwd cannot read the window's pixels"
  exit 1
fi
[ "$idle1" = "$idle2" ] && pass "before any key, the window stands still" || fail "the window changes by itself"
# Space presses the focused button, ミニロト, whose draw flickers the reels in the balloons.
pressed=$EPOCHREALTIME  # before the key: the draw cannot start sooner
xdotool key space
sleep 1
draw1=$(picture); sleep 0.3; draw2=$(picture)
[ "$draw1" != "$draw2" ] && pass "after Space the window is drawing (the Mini Loto reels flicker)" ||
  fail "Space started no draw"
# The draw has ended once the window stands still for 2 s, longer than any of its pauses.
still=yes
wait_until_still 30 2 picture || still=no
took=$(seconds_since "$pressed")
last=$(picture)
if [ "$still" = no ]; then
  fail "the window still changes 30 s after Space"
elif awk -v t="$took" -v least="$mini_loto_least_seconds" 'BEGIN { exit !(t - 2 < least) }'; then
  fail "the window stood still $took s after Space, before the Mini Loto draw could end"
else
  pass "the draw ended: the window stands still from $took s after Space (less the 2 s it was watched)"
fi
[ "$last" != "$idle2" ] && pass "the window after the draw differs from the window before it" ||
  fail "the draw left the window as it was"
kill -0 "$program" && pass "still running after the draw" || fail "the program ended during the draw"
kill "$program"
wait "$program" || true
if [ -s /tmp/tamapick.stderr ]; then echo "stderr:"; cat /tmp/tamapick.stderr; else echo "stderr: (empty)"; fi
exit "$status"
EOF
as_player 'xvfb-run -a -s "-screen 0 640x480x24" bash /tmp/show-window.sh'

step "The menu entry, validated where it is installed"
entry=/usr/share/applications/io.github.tamapick.tamapick.desktop
desktop-file-validate "$entry" && echo "desktop-file-validate $entry: no complaint"
grep -E '^(Name|Name\[ja\]|Exec|Icon|StartupWMClass)=' "$entry"
find /usr/share/icons/hicolor -name 'io.github.tamapick.tamapick.*' | sort

step "man 6 tamapick"
as_player 'MANWIDTH=80 man 6 tamapick 2>&1'

step "What the run left in the player's home (the program itself writes no file)"
find /home/player -mindepth 1 -newer /tmp/show-window.sh | sort | sed 's/^/  /'

step "apt-get purge tamapick"
files=$(dpkg-query -L tamapick)
apt-get purge -y -qq tamapick >/dev/null
left=0
while read -r path; do
  [ ! -f "$path" ] || { echo "left behind: $path"; left=1; }
done <<<"$files"
named=$(comm -13 <(echo "$named_before") <(find / -xdev -path /tmp -prune -o -iname '*tamapick*' -print | sort))
[ -z "$named" ] || { echo "left behind: $named"; left=1; }
[ "$left" -eq 1 ] || echo "no file left behind: none of the package's $(wc -l <<<"$files") paths remains," \
  "and no file anywhere on the system is named after tamapick"

step "apt-get purge --autoremove: the check's tools, and with them every dependency"
apt-get purge --autoremove -y -qq "${tools[@]}" >/dev/null
# Files the fresh system did not have, leaving out /run (runtime state, emptied at boot).
extra=$(comm -13 <(echo "$before") <(snapshot) | grep -v '^/run/' || true)
if [ -n "$extra" ]; then
  # apt's autoremove keeps some of the dependencies (on 13 and testing about 45 packages: systemd,
  # dbus, ca-certificates and kin) and their configuration; none is tamapick's, so this is for
  # the record.
  kept=$(comm -13 <(echo "$packages_before") <(dpkg-query -W -f='${db:Status-Abbrev}${Package}\n' |
    awk '$1 == "ii" { print $2 }' | sort))
  echo "$(wc -l <<<"$extra") paths not on the fresh system (none of them tamapick's), the first:"
  sed -n '1,10s/^/  /p' <<<"$extra"
  [ -z "$kept" ] || echo "packages apt keeps installed after the autoremove: $(echo $kept)"
else
  echo "the system holds exactly the files the fresh system held"
fi
exit "$left"
