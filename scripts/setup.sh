#!/usr/bin/env bash
# Installs, where missing, the Debian packages a task of tamapick's needs on Debian 12 (bookworm),
# 13 (trixie) or testing. Every script that needs a package asks for it here:
#   bash scripts/setup.sh --run            build and run the program (scripts/run.sh): the
#                                          compiler, Qt, a Japanese font, the beep's sound theme
#   bash scripts/setup.sh --tests          that and the test suite's tools (scripts/test.sh)
#   bash scripts/setup.sh --virtual-screen an invisible X screen, to run without a display
#   bash scripts/setup.sh --windows        cross-build for Windows and check it under Wine
#   bash scripts/setup.sh --chroots        make minimal systems of other releases (debootstrap)
#   bash scripts/setup.sh --debian-checks  build the Debian package on clean systems of each release
#                                          and test it as Debian does (debian-release-check.sh)
# No task installs a sound server or a compositor beside the desktop's own: see --tests.
set -euo pipefail

# What differs between the releases (testing and unstable have no VERSION_ID).
. /etc/os-release
release=${VERSION_ID:-testing}

installed() { dpkg-query -W -f='${db:Status-Abbrev}' "$1" 2>/dev/null | grep -q '^ii'; }

# Building. pkg-config became a transitional package for pkgconf after Debian 12.
build=(
  g++ cmake ninja-build
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libcanberra-dev libfontconfig-dev
  "$([ "$release" = 12 ] && echo pkg-config || echo pkgconf)"
)
sound_server_installed() { installed pulseaudio || installed pipewire-pulse; }
# Running: the captions' Japanese face, the closing beep's sound theme, and Qt's Wayland platform
# for a window of its own on a Wayland desktop, as the package recommends. libcanberra's driver
# for the desktop's sound server depends on a server (pulseaudio | pipewire-pulse), so it comes
# only where the machine has one: elsewhere it would bring and enable a server, and the beep is
# the X11 bell.
run=(fonts-ipafont-gothic sound-theme-freedesktop qt6-wayland)
sound_server_installed && run+=(libcanberra-pulse)
# Building the package with debian/ (dpkg-buildpackage, which wants build-essential, and
# debhelper), and checking it with lintian and the AppStream validator.
package_checks=(build-essential dpkg-dev debhelper file lintian appstream)

# The sound tests start a private server of the kind the machine has: PulseAudio, or PipeWire
# with its PulseAudio replacement. A machine whose desktop plays through one of them gets no other
# (its tests skip, saying so), since two servers enabled for one socket break the desktop's sound.
# Only a machine with neither, as CI's, gets both. pactl and parec talk to either.
sound_servers() {
  if sound_server_installed; then
    echo pulseaudio-utils
  else
    echo pulseaudio pulseaudio-utils pipewire wireplumber pipewire-pulse
  fi
}
# The Wayland tests start a private headless weston, unless the machine has a display server of its
# own: there they skip rather than bring a second compositor.
compositor() {
  installed xserver-xorg-core || installed xwayland || echo weston
}

case "${1:-}" in
  --run) packages=("${build[@]}" "${run[@]}") ;;
  --tests)
    packages=(
      "${build[@]}" "${run[@]}" libcanberra-pulse "${package_checks[@]}"
      xvfb xauth x11-apps imagemagick xdotool strace
      desktop-file-utils llvm man-db
      at-spi2-core dbus-daemon dbus-session-bus-common python3-pyatspi gir1.2-atspi-2.0
      $(sound_servers) $(compositor)
      libfaketime
      qt6-gtk-platformtheme qt6ct locales-all
    )
    # Newer llvm-rc (LLVM 19 on Debian 13) preprocesses resource scripts with clang, and fails
    # without it; Debian 12's (LLVM 14) does without.
    [ "$release" = 12 ] || packages+=(clang)
    ;;
  --virtual-screen) packages=(xvfb xauth) ;;
  --windows)
    packages=(
      g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth fonts-ipafont-gothic
      cmake ninja-build dpkg-dev icoutils xz-utils
      qt6-base-dev qt6-base-dev-tools qt6-svg-dev
      wixl msitools faketime zip unzip git
      xdotool imagemagick x11-utils
    )
    ;;
  --chroots) packages=(debootstrap) ;;
  --debian-checks)
    # sbuild and autopkgtest run in user namespaces (uidmap); reprotest runs in a chroot of each
    # release (debootstrap), which installs that release's reprotest itself.
    packages=(
      sbuild mmdebstrap debootstrap uidmap autopkgtest piuparts lintian devscripts debhelper blhc
      dpkg-dev equivs
    )
    ;;
  *)
    sed -n '2,12p' "$0" | sed 's/^# \{0,1\}//' >&2
    exit 2
    ;;
esac

# One question to dpkg for all of them: the ones not installed.
mapfile -t missing < <(comm -23 <(printf '%s\n' "${packages[@]}" | sort -u) \
  <(dpkg-query -W -f='${db:Status-Abbrev} ${Package}\n' "${packages[@]}" 2>/dev/null | awk '$1 == "ii" { print $2 }' | sort -u))
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
# sbuild's and autopkgtest's unshare modes map root's subordinate ids into the build's namespace.
if [ "${1:-}" = --debian-checks ]; then
  for file in /etc/subuid /etc/subgid; do
    grep -qs '^root:' "$file" || echo 'root:100000:65536' | ${sudo:-} tee -a "$file" >/dev/null
  done
fi
